// Echo: listen, remember, play it back.
// How to play: the four pads light up and sing in a sequence; play the same sequence back
// by clicking the pads or with the arrow keys (each pad shows its arrow). Every round the
// sequence grows by one note and plays a little faster. One wrong pad, or five seconds of
// silence, ends the game. The best rounds of this session are kept in the high-score table.
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.Lib;
import flash.media.Sound;
import flash.ui.Keyboard;
import Sounds;

enum State {
    Title;
    Showing; // the game plays the sequence
    Answering; // the player repeats it
    Over;
}

class Main extends Sprite {
    static inline final W = 480;
    static inline final H = 360;
    static inline final CX = 240;
    static inline final CY = 180;
    static inline final ANSWER_TIME = 5.0;
    static inline final TABLE_SIZE = 5;
    // Up, right, down, left: the order of the arrow keys' codes.
    static final COLORS = [0x2fd06b, 0xff4b5c, 0xffd23f, 0x3d8bff];
    static final OFFSETS = [[0, -88], [88, 0], [0, 88], [-88, 0]];
    static final KEYS = [Keyboard.UP, Keyboard.RIGHT, Keyboard.DOWN, Keyboard.LEFT];

    final pads:Array<Sprite> = [];
    final glows:Array<Shape> = [];
    final sounds:Array<Sound> = [new Pad0Sound(), new Pad1Sound(), new Pad2Sound(), new Pad3Sound()];
    final roundText = new PixelText("", 5, 0xffffff, 0.5);
    final bestText = new PixelText("", 3, 0xc9b8ff, 1);
    final status = new PixelText("", 3, 0xffffff, 0.5);
    final table = new ScoreTable(TABLE_SIZE);
    var screen:Sprite;

    var state = Title;
    var sequence:Array<Int> = [];
    var position = 0; // the next note to play or to answer
    var timer = 0.0;
    var lit = -1;
    var litTime = 0.0;
    var lastTime = 0;

    static function main() {
        Lib.current.addChild(new Main());
    }

    function new() {
        super();
        graphics.beginFill(0x16102a);
        graphics.drawRect(0, 0, W, H);
        graphics.endFill();
        graphics.beginFill(0x0c0818);
        graphics.drawCircle(CX, CY, 150);
        graphics.endFill();
        for (i in 0...4)
            addPad(i);
        roundText.x = CX;
        roundText.y = CY - 17;
        bestText.x = W - 12;
        bestText.y = 12;
        status.x = CX;
        status.y = H - 30;
        for (t in [roundText, bestText, status])
            addChild(t);
        addEventListener(Event.ADDED_TO_STAGE, _ -> {
            stage.addEventListener(KeyboardEvent.KEY_DOWN, onKey);
            lastTime = Lib.getTimer();
            addEventListener(Event.ENTER_FRAME, onFrame);
        });
        // A greeting before the title: each pad sings once, so that the player knows the notes.
        sequence = [0, 1, 2, 3];
        timer = 0.5;
    }

    function addPad(i:Int) {
        var pad = new Sprite();
        pad.x = CX + OFFSETS[i][0];
        pad.y = CY + OFFSETS[i][1];
        pad.graphics.beginFill(COLORS[i]);
        pad.graphics.drawCircle(0, 0, 50);
        pad.graphics.endFill();
        // The pad's arrow key, pointing away from the middle.
        pad.graphics.beginFill(0xffffff, 0.55);
        var angle = i * Math.PI / 2;
        var point = (x:Float, y:Float) -> [x * Math.cos(angle) - y * Math.sin(angle), x * Math.sin(angle) + y * Math.cos(angle)];
        var tip = point(0, -22), l = point(-14, 0), r = point(14, 0);
        pad.graphics.moveTo(tip[0], tip[1]);
        pad.graphics.lineTo(r[0], r[1]);
        pad.graphics.lineTo(l[0], l[1]);
        pad.graphics.endFill();
        pad.buttonMode = true;
        pad.alpha = 0.4;
        pad.addEventListener(MouseEvent.MOUSE_DOWN, _ -> press(i));
        var glow = new Shape();
        glow.graphics.lineStyle(6, 0xffffff);
        glow.graphics.drawCircle(0, 0, 54);
        glow.visible = false;
        pad.addChild(glow);
        addChild(pad);
        pads.push(pad);
        glows.push(glow);
    }

    function showTitle() {
        var s = newScreen();
        panel(s);
        addLine(s, "ECHO", 10, 0xffffff, 60);
        addLine(s, "LISTEN TO THE PADS", 3, 0xc9b8ff, 150);
        addLine(s, "AND PLAY THEM BACK", 3, 0xc9b8ff, 174);
        addLine(s, "CLICK OR USE THE ARROWS", 2, 0xffffff, 214);
        addButton(s, "PLAY", 278);
        status.text = "PRESS SPACE TO PLAY";
    }

    static function panel(s:Sprite) {
        s.graphics.beginFill(0x16102a, 0.92);
        s.graphics.drawRoundRect(CX - 150, 30, 300, 300, 24, 24);
        s.graphics.endFill();
    }

    function showGameOver() {
        state = Over;
        var score = sequence.length - 1;
        var place = table.add(score);
        if (place == 0)
            new BestSound().play();
        var s = newScreen();
        panel(s);
        addLine(s, "GAME OVER", 5, 0xff4b5c, 48);
        addLine(s, 'ROUNDS $score', 4, 0xffffff, 92);
        addLine(s, "HIGH SCORES", 3, 0xc9b8ff, 136);
        for (i in 0...table.scores.length) {
            // The score of this game stands out in the table, if it made it in.
            addLine(s, '${i + 1}.  ${table.scores[i]}', 3, i == place ? 0xffd23f : 0xffffff, 162 + i * 22);
        }
        if (table.scores.length == 0)
            addLine(s, "NONE YET", 3, 0xffffff, 162);
        addButton(s, "PLAY AGAIN", 298);
        bestText.text = table.best() > 0 ? 'BEST ${table.best()}' : "";
        status.text = "SPACE PLAYS AGAIN";
    }

    function newScreen():Sprite {
        if (screen != null)
            removeChild(screen);
        roundText.visible = false;
        screen = new Sprite();
        addChild(screen);
        return screen;
    }

    static function addLine(s:Sprite, text:String, pixel:Float, color:Int, y:Float) {
        var line = new PixelText(text, pixel, color, 0.5);
        line.x = CX;
        line.y = y;
        s.addChild(line);
    }

    function addButton(s:Sprite, caption:String, y:Float) {
        var b = new Button(caption, 180, 40, 0x4b2f9a, 0x6f4fd0, 0xffffff, startGame);
        b.x = CX;
        b.y = y;
        s.addChild(b);
    }

    function startGame() {
        if (screen != null)
            removeChild(screen);
        screen = null;
        roundText.visible = true;
        sequence = [];
        nextRound();
    }

    function nextRound() {
        sequence.push(Std.random(4));
        roundText.text = Std.string(sequence.length);
        state = Showing;
        status.text = "LISTEN";
        position = 0;
        timer = 0.9;
    }

    // A note of the sequence is lit for less time as the sequence grows.
    function noteTime():Float {
        return Math.max(0.2, 0.5 - sequence.length * 0.02);
    }

    function onKey(e:KeyboardEvent) {
        var pad = KEYS.indexOf(e.keyCode);
        if (pad >= 0)
            press(pad);
        else if ((state == Title || (state == Over && screen != null))
            && (e.keyCode == Keyboard.SPACE || e.keyCode == Keyboard.ENTER))
            startGame();
    }

    function press(pad:Int) {
        if (state == Title) {
            startGame();
            return;
        }
        if (state != Answering)
            return;
        light(pad, 0.25);
        timer = ANSWER_TIME;
        if (pad != sequence[position]) {
            fail();
            return;
        }
        position++;
        if (position == sequence.length) {
            state = Showing;
            status.text = "WELL DONE";
            new RoundSound().play();
            timer = 0.8;
            position = -1; // the pause before the next round
        }
    }

    function fail() {
        lit = -1;
        for (p in pads)
            p.alpha = 1;
        new FailSound().play();
        status.text = "WRONG";
        state = Over;
        timer = 1.2;
        position = -2; // the pause before the game-over screen
    }

    function light(pad:Int, seconds:Float) {
        lit = pad;
        litTime = seconds;
        sounds[pad].play();
    }

    function onFrame(_) {
        var now = Lib.getTimer();
        var dt = Math.min((now - lastTime) / 1000, 0.05);
        lastTime = now;
        litTime -= dt;
        if (litTime <= 0)
            lit = -1;
        if (screen == null || state == Title)
            for (i in 0...4) {
                pads[i].alpha = i == lit ? 1 : (state == Over ? pads[i].alpha : 0.4);
                glows[i].visible = i == lit;
            }
        timer -= dt;
        if (timer > 0)
            return;
        switch (state) {
            case Title | Showing if (position >= 0 && position < sequence.length):
                light(sequence[position], noteTime());
                position++;
                timer = noteTime() + 0.12;
            case Title if (screen == null):
                showTitle();
            case Showing if (position == -1):
                nextRound();
            case Showing:
                state = Answering;
                status.text = "YOUR TURN";
                position = 0;
                timer = ANSWER_TIME;
            case Answering:
                fail(); // too slow
            case Over if (position == -2):
                position = 0;
                for (p in pads)
                    p.alpha = 0.4;
                showGameOver();
            default:
        }
    }
}
