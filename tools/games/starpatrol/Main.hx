// Star Patrol: hold the line against waves of raiders.
// How to play: the arrow keys fly the ship, Space fires (hold it for steady fire). Shoot
// raiders for points; a raider or a bomb that hits the ship costs one of three lives. Every
// twenty raiders a new, faster wave comes. Space, an arrow key or a click starts a game.
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.Lib;
import flash.ui.Keyboard;
import Sounds;

typedef Body = {shape:Shape, vx:Float, vy:Float, ?hp:Int, ?points:Int, ?age:Float, ?phase:Float};

enum State {
    Title;
    Playing;
    Over;
}

class Main extends Sprite {
    static inline final W = 640;
    static inline final H = 480;
    static inline final SHIP_COLOR = 0x2ee6a0;
    static inline final KILLS_PER_WAVE = 20;

    final keys = new Map<Int, Bool>();
    final stars:Array<Body> = [];
    final shots:Array<Body> = [];
    final raiders:Array<Body> = [];
    final bombs:Array<Body> = [];
    final sparks:Array<Body> = [];
    final field = new Sprite();
    final ship = new Shape();
    final hud = new Sprite();
    final scoreText = new PixelText("", 3, 0xffffff);
    final waveText = new PixelText("", 3, 0x8fa8ff, 0.5);
    final livesText = new PixelText("", 3, 0xb8f5dc, 1);
    var screen:Sprite;
    var prompt:PixelText; // the blinking line of the title or game-over screen

    var state = Title;
    var score = 0;
    var best = 0;
    var lives = 0;
    var wave = 0;
    var kills = 0;
    var reload = 0.0;
    var spawnIn = 0.0;
    var shield = 0.0; // seconds of safety after a hit
    var screenAge = 0.0;
    var lastTime = 0;

    static function main() {
        Lib.current.addChild(new Main());
    }

    function new() {
        super();
        graphics.beginFill(0x070b1e);
        graphics.drawRect(0, 0, W, H);
        graphics.endFill();
        for (i in 0...90) {
            var s = new Shape();
            var size = 1 + Std.random(3);
            s.graphics.beginFill(0xffffff, 0.3 + size * 0.2);
            s.graphics.drawRect(0, 0, size, size);
            s.graphics.endFill();
            s.x = Std.random(W);
            s.y = Std.random(H);
            addChild(s);
            stars.push({shape: s, vx: 0, vy: 20 + size * 35});
        }
        addChild(field);
        drawShip();
        scoreText.x = 12;
        scoreText.y = 12;
        waveText.x = W / 2;
        waveText.y = 12;
        livesText.x = W - 12;
        livesText.y = 12;
        hud.addChild(scoreText);
        hud.addChild(waveText);
        hud.addChild(livesText);
        addChild(hud);
        addEventListener(Event.ADDED_TO_STAGE, _ -> {
            stage.addEventListener(KeyboardEvent.KEY_DOWN, onKeyDown);
            stage.addEventListener(KeyboardEvent.KEY_UP, e -> keys.remove(e.keyCode));
            lastTime = Lib.getTimer();
            addEventListener(Event.ENTER_FRAME, onFrame);
        });
        showTitle();
    }

    // The ship is the only thing of its colour on the screen.
    function drawShip() {
        var g = ship.graphics;
        g.beginFill(SHIP_COLOR);
        g.moveTo(0, -18);
        g.lineTo(14, 14);
        g.lineTo(0, 8);
        g.lineTo(-14, 14);
        g.endFill();
        g.beginFill(0xff9a3c);
        g.drawRect(-4, 9, 8, 5);
        g.endFill();
    }

    function showTitle() {
        state = Title;
        hud.visible = false;
        var s = newScreen();
        var title = new PixelText("STAR PATROL", 8, 0x59d8ff, 0.5);
        title.x = W / 2;
        title.y = 110;
        s.addChild(title);
        addLine(s, "ARROW KEYS FLY   SPACE FIRES", 3, 0xc8d2ff, 230);
        prompt = addLine(s, "PRESS SPACE OR AN ARROW KEY", 3, 0xffe066, 300);
        if (best > 0)
            addLine(s, 'BEST $best', 3, 0x8fa8ff, 360);
        s.addChild(centredButton("PLAY", 400, startGame));
    }

    function showGameOver() {
        state = Over;
        new OverSound().play();
        var newBest = score > best;
        best = Std.int(Math.max(best, score));
        var s = newScreen();
        var title = new PixelText("GAME OVER", 8, 0xff5a6e, 0.5);
        title.x = W / 2;
        title.y = 120;
        s.addChild(title);
        addLine(s, 'SCORE $score', 4, 0xffffff, 215);
        addLine(s, newBest ? "NEW BEST!" : 'BEST $best', 3, 0xffe066, 265);
        prompt = addLine(s, "PRESS SPACE TO PLAY AGAIN", 3, 0xc8d2ff, 320);
        s.addChild(centredButton("PLAY AGAIN", 390, startGame));
    }

    function newScreen():Sprite {
        if (screen != null)
            removeChild(screen);
        screen = new Sprite();
        screenAge = 0;
        addChild(screen);
        return screen;
    }

    static function addLine(s:Sprite, text:String, pixel:Float, color:Int, y:Float):PixelText {
        var line = new PixelText(text, pixel, color, 0.5);
        line.x = W / 2;
        line.y = y;
        s.addChild(line);
        return line;
    }

    static function centredButton(caption:String, y:Float, onClick:Void->Void):Button {
        var b = new Button(caption, 220, 44, 0x1d3f7a, 0x2f64c0, 0xffffff, onClick);
        b.x = W / 2;
        b.y = y;
        return b;
    }

    function startGame() {
        removeChild(screen);
        screen = null;
        for (list in [shots, raiders, bombs, sparks])
            removeWhere(list, _ -> true);
        score = 0;
        lives = 3;
        wave = 1;
        kills = 0;
        shield = 1.5;
        spawnIn = 1;
        ship.x = W / 2;
        ship.y = H - 50;
        field.addChild(ship);
        hud.visible = true;
        updateHud();
        state = Playing;
        new StartSound().play();
    }

    function onKeyDown(e:KeyboardEvent) {
        keys.set(e.keyCode, true);
        var arrow = e.keyCode >= Keyboard.LEFT && e.keyCode <= Keyboard.DOWN;
        var start = e.keyCode == Keyboard.SPACE || e.keyCode == Keyboard.ENTER;
        // On the game-over screen a moment passes first, so that a held fire key does not
        // skip it.
        if ((state == Title && (start || arrow)) || (state == Over && start && screenAge > 0.8))
            startGame();
    }

    function onFrame(_) {
        var now = Lib.getTimer();
        var dt = Math.min((now - lastTime) / 1000, 0.05);
        lastTime = now;
        screenAge += dt;
        for (s in stars) {
            s.shape.y += s.vy * dt;
            if (s.shape.y > H)
                s.shape.y -= H;
        }
        if (screen != null)
            prompt.visible = screenAge % 1 < 0.7;
        if (state == Playing)
            play(dt);
        moveSparks(dt);
    }

    function play(dt:Float) {
        var speed = 330 * dt;
        if (keys.exists(Keyboard.LEFT))
            ship.x = Math.max(20, ship.x - speed);
        if (keys.exists(Keyboard.RIGHT))
            ship.x = Math.min(W - 20, ship.x + speed);
        if (keys.exists(Keyboard.UP))
            ship.y = Math.max(H * 0.55, ship.y - speed);
        if (keys.exists(Keyboard.DOWN))
            ship.y = Math.min(H - 24, ship.y + speed);
        reload -= dt;
        if (keys.exists(Keyboard.SPACE) && reload <= 0) {
            reload = 0.2;
            shots.push(spawn(rect(4, 14, 0xfff27a), ship.x, ship.y - 20, 0, -560));
            new ShotSound().play();
        }
        shield = Math.max(0, shield - dt);
        ship.visible = shield == 0 || Std.int(shield * 10) % 2 == 0;

        spawnIn -= dt;
        if (spawnIn <= 0) {
            spawnIn = Math.max(0.25, 1.3 - wave * 0.12) * (0.6 + Math.random() * 0.8);
            spawnRaider();
        }
        moveAll(shots, dt);
        moveAll(bombs, dt);
        for (r in raiders) {
            r.age += dt;
            r.shape.x += Math.sin(r.age * 2 + r.phase) * r.vx * dt;
            r.shape.y += r.vy * dt;
            if (Math.random() < dt * (0.15 + wave * 0.05))
                bombs.push(spawn(rect(5, 10, 0xff4040), r.shape.x, r.shape.y + 12, 0, 200 + wave * 15));
        }
        removeWhere(raiders, r -> r.shape.y > H + 30);
        removeWhere(shots, s -> s.shape.y < -20);
        removeWhere(bombs, b -> b.shape.y > H + 20);

        for (s in shots.copy())
            for (r in raiders)
                if (near(s.shape, r.shape, r.points > 100 ? 24 : 18)) {
                    removeWhere(shots, x -> x == s);
                    r.hp--;
                    burst(s.shape.x, s.shape.y, 0xfff27a, 4);
                    if (r.hp == 0)
                        destroy(r);
                    break;
                }
        if (shield == 0) {
            var hit = raiders.filter(r -> near(ship, r.shape, 24));
            var bombHit = bombs.filter(b -> near(ship, b.shape, 14));
            if (hit.length > 0 || bombHit.length > 0) {
                for (r in hit)
                    destroy(r);
                removeWhere(bombs, b -> bombHit.indexOf(b) >= 0);
                loseLife();
            }
        }
    }

    function spawnRaider() {
        var tough = wave >= 2 && Math.random() < 0.1 + wave * 0.04;
        var s = new Shape();
        var g = s.graphics;
        var size = tough ? 1.5 : 1;
        g.beginFill(tough ? 0xff8c1a : 0xd94cff);
        g.moveTo(-16 * size, -8 * size);
        g.lineTo(16 * size, -8 * size);
        g.lineTo(10 * size, 8 * size);
        g.lineTo(0, 3 * size);
        g.lineTo(-10 * size, 8 * size);
        g.endFill();
        g.beginFill(0xffffff);
        g.drawCircle(-6 * size, -3 * size, 2.5 * size);
        g.drawCircle(6 * size, -3 * size, 2.5 * size);
        g.endFill();
        var r = spawn(s, 40 + Math.random() * (W - 80), -20, 40 + Math.random() * 60, 55 + wave * 12);
        r.hp = tough ? 3 : 1;
        r.points = tough ? 300 : 100;
        r.age = 0;
        r.phase = Math.random() * 6;
        raiders.push(r);
    }

    function destroy(r:Body) {
        removeWhere(raiders, x -> x == r);
        score += r.points;
        kills++;
        burst(r.shape.x, r.shape.y, 0xff8c1a, 14);
        new BoomSound().play();
        if (kills % KILLS_PER_WAVE == 0) {
            wave++;
            new WaveSound().play();
        }
        updateHud();
    }

    function loseLife() {
        lives--;
        shield = 2;
        burst(ship.x, ship.y, SHIP_COLOR, 24);
        new HurtSound().play();
        updateHud();
        if (lives == 0) {
            field.removeChild(ship);
            for (r in raiders)
                burst(r.shape.x, r.shape.y, 0xff8c1a, 8);
            removeWhere(raiders, _ -> true);
            removeWhere(bombs, _ -> true);
            removeWhere(shots, _ -> true);
            showGameOver();
        }
    }

    function updateHud() {
        scoreText.text = 'SCORE $score';
        waveText.text = 'WAVE $wave';
        livesText.text = 'SHIPS $lives';
    }

    function burst(x:Float, y:Float, color:Int, count:Int) {
        for (i in 0...count) {
            var angle = Math.random() * Math.PI * 2;
            var speed = 60 + Math.random() * 180;
            var p = spawn(rect(3, 3, color), x, y, Math.cos(angle) * speed, Math.sin(angle) * speed);
            p.age = 0.4 + Math.random() * 0.4;
            sparks.push(p);
        }
    }

    function moveSparks(dt:Float) {
        moveAll(sparks, dt);
        for (p in sparks) {
            p.age -= dt;
            p.shape.alpha = Math.max(0, p.age * 2);
        }
        removeWhere(sparks, p -> p.age <= 0);
    }

    function spawn(shape:Shape, x:Float, y:Float, vx:Float, vy:Float):Body {
        shape.x = x;
        shape.y = y;
        field.addChild(shape);
        return {shape: shape, vx: vx, vy: vy};
    }

    static function rect(w:Float, h:Float, color:Int):Shape {
        var s = new Shape();
        s.graphics.beginFill(color);
        s.graphics.drawRect(-w / 2, -h / 2, w, h);
        s.graphics.endFill();
        return s;
    }

    static function moveAll(list:Array<Body>, dt:Float) {
        for (b in list) {
            b.shape.x += b.vx * dt;
            b.shape.y += b.vy * dt;
        }
    }

    function removeWhere(list:Array<Body>, test:Body->Bool) {
        for (b in list.filter(test)) {
            list.remove(b);
            field.removeChild(b.shape);
        }
    }

    static function near(a:Shape, b:Shape, distance:Float):Bool {
        var dx = a.x - b.x;
        var dy = a.y - b.y;
        return dx * dx + dy * dy < distance * distance;
    }
}
