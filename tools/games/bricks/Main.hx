// Brick Breaker: knock down the wall with the ball.
// How to play: the paddle follows the mouse (or the left and right arrow keys); a click (or
// Space) launches the ball. Where the ball meets the paddle sets its angle. Grey bricks take
// two hits. Clear the wall for the next, faster level; three balls are lost and the game is over.
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.Lib;
import flash.ui.Keyboard;
import flash.ui.Mouse;
import Sounds;

typedef Brick = {shape:Shape, x:Float, y:Float, hp:Int, points:Int};

enum State {
    Title;
    Serving; // the ball rests on the paddle
    Rolling;
    Over;
}

class Main extends Sprite {
    static inline final W = 600;
    static inline final H = 450;
    static inline final COLUMNS = 10;
    static inline final BRICK_W = 52;
    static inline final BRICK_H = 18;
    static inline final GAP = 4;
    static inline final PADDLE_Y = 410;
    static inline final PADDLE_COLOR = 0x38f0c8; // nothing else on the screen has it
    static inline final BALL_R = 7;
    static final ROW_COLORS = [0xff4d6d, 0xff8f3d, 0xffd23d, 0x5fdc6b, 0x3dc6ff, 0x8a6bff, 0xe86bff, 0xff6bb0];

    final wall = new Sprite();
    final paddle = new Shape();
    final ball = new Ball(BALL_R);
    final ballShape = new Shape();
    final scoreText = new PixelText("", 3, 0xffffff);
    final levelText = new PixelText("", 3, 0xb8a8ff, 0.5);
    final ballsText = new PixelText("", 3, 0xa8f7e6, 1);
    final banner = new PixelText("", 6, 0xffffff, 0.5);
    var bricks:Array<Brick> = [];
    var screen:Sprite;

    var state = Title;
    var score = 0;
    var best = 0;
    var level = 1;
    var balls = 0;
    var paddleW = 96.0;
    var serveSpeed = 0.0; // of the ball when it leaves the paddle
    var bannerTime = 0.0;
    var keyLeft = false;
    var keyRight = false;
    var lastTime = 0;

    static function main() {
        Lib.current.addChild(new Main());
    }

    function new() {
        super();
        graphics.beginFill(0x140c2a);
        graphics.drawRect(0, 0, W, H);
        graphics.endFill();
        graphics.lineStyle(1, 0x2a1f4a);
        var i = 0;
        while (i < W) {
            graphics.moveTo(i, 40);
            graphics.lineTo(i, H);
            i += 30;
        }
        graphics.lineStyle(2, 0x6b5bb0);
        graphics.moveTo(0, 40);
        graphics.lineTo(W, 40);
        addChild(wall);
        ballShape.graphics.beginFill(0xffffff);
        ballShape.graphics.drawCircle(0, 0, BALL_R);
        ballShape.graphics.endFill();
        for (t in [scoreText, levelText, ballsText, banner])
            addChild(t);
        scoreText.x = 14;
        levelText.x = W / 2;
        ballsText.x = W - 14;
        scoreText.y = levelText.y = ballsText.y = 12;
        banner.x = W / 2;
        banner.y = 250;
        addEventListener(Event.ADDED_TO_STAGE, _ -> {
            stage.addEventListener(MouseEvent.MOUSE_DOWN, _ -> press());
            stage.addEventListener(KeyboardEvent.KEY_DOWN, e -> key(e.keyCode, true));
            stage.addEventListener(KeyboardEvent.KEY_UP, e -> key(e.keyCode, false));
            stage.addEventListener(MouseEvent.MOUSE_MOVE, _ -> {
                if (state == Serving || state == Rolling)
                    paddle.x = clampPaddle(stage.mouseX);
            });
            lastTime = Lib.getTimer();
            addEventListener(Event.ENTER_FRAME, onFrame);
        });
        buildWall();
        showTitle();
    }

    function showTitle() {
        state = Title;
        scoreText.visible = levelText.visible = ballsText.visible = false;
        var s = newScreen();
        addLine(s, "BRICK", 10, 0xffd23d, 90);
        addLine(s, "BREAKER", 10, 0xff4d6d, 170);
        addLine(s, "MOVE THE MOUSE   CLICK TO LAUNCH", 3, 0xe0d8ff, 280);
        addLine(s, "CLICK TO PLAY", 4, 0xffffff, 330);
        if (best > 0)
            addLine(s, 'BEST $best', 3, 0xb8a8ff, 380);
    }

    function showGameOver() {
        state = Over;
        Mouse.show();
        new OverSound().play();
        var newBest = score > best;
        best = Std.int(Math.max(best, score));
        var s = newScreen();
        addLine(s, "GAME OVER", 8, 0xff4d6d, 110);
        addLine(s, 'SCORE $score', 4, 0xffffff, 200);
        addLine(s, newBest ? "NEW BEST!" : 'BEST $best', 3, 0xffd23d, 245);
        var again = new Button("PLAY AGAIN", 220, 44, 0x5a2a8a, 0x8a4bd0, 0xffffff, startGame);
        again.x = W / 2;
        again.y = 330;
        s.addChild(again);
    }

    function newScreen():Sprite {
        if (screen != null)
            removeChild(screen);
        screen = new Sprite();
        screen.graphics.beginFill(0x140c2a, 0.88);
        screen.graphics.drawRect(0, 40, W, H - 40);
        screen.graphics.endFill();
        addChild(screen);
        return screen;
    }

    static function addLine(s:Sprite, text:String, pixel:Float, color:Int, y:Float) {
        var line = new PixelText(text, pixel, color, 0.5);
        line.x = W / 2;
        line.y = y;
        s.addChild(line);
    }

    function press() {
        if (state == Title)
            startGame();
        else if (state == Serving)
            launch();
    }

    function key(code:UInt, down:Bool) {
        if (code == Keyboard.LEFT)
            keyLeft = down;
        if (code == Keyboard.RIGHT)
            keyRight = down;
        if (down && (code == Keyboard.SPACE || code == Keyboard.ENTER))
            state == Over ? startGame() : press();
    }

    function startGame() {
        removeChild(screen);
        screen = null;
        scoreText.visible = levelText.visible = ballsText.visible = true;
        score = 0;
        balls = 3;
        level = 1;
        buildWall();
        addChild(paddle);
        addChild(ballShape);
        paddle.x = clampPaddle(stage.mouseX);
        new StartSound().play();
        serve();
        Mouse.hide();
    }

    function buildWall() {
        for (b in bricks)
            wall.removeChild(b.shape);
        bricks = [];
        var rows = Std.int(Math.min(5 + level, ROW_COLORS.length));
        var left = (W - (COLUMNS * BRICK_W + (COLUMNS - 1) * GAP)) / 2;
        for (row in 0...rows)
            for (col in 0...COLUMNS) {
                // From the second level on some bricks are steel, in a pattern that changes
                // with the level.
                var steel = level > 1 && (row * 7 + col * 3 + level) % 9 == 0;
                var b:Brick = {
                    shape: new Shape(),
                    x: left + col * (BRICK_W + GAP),
                    y: 64 + row * (BRICK_H + GAP),
                    hp: steel ? 2 : 1,
                    points: (rows - row) * 10 * level
                };
                paintBrick(b, steel ? 0x9aa3b5 : ROW_COLORS[row]);
                wall.addChild(b.shape);
                bricks.push(b);
            }
        paddleW = Math.max(64, 100 - level * 6);
        paddle.graphics.clear();
        paddle.graphics.beginFill(PADDLE_COLOR);
        paddle.graphics.drawRoundRect(-paddleW / 2, 0, paddleW, 12, 12, 12);
        paddle.graphics.endFill();
        paddle.graphics.beginFill(0xffffff, 0.5);
        paddle.graphics.drawRect(-paddleW / 2 + 6, 2, paddleW - 12, 2);
        paddle.graphics.endFill();
        paddle.y = PADDLE_Y;
        updateHud();
    }

    static function paintBrick(b:Brick, color:Int) {
        var g = b.shape.graphics;
        g.clear();
        g.beginFill(color);
        g.drawRect(b.x, b.y, BRICK_W, BRICK_H);
        g.endFill();
        g.beginFill(0xffffff, 0.35);
        g.drawRect(b.x, b.y, BRICK_W, 3);
        g.endFill();
        g.beginFill(0x000000, 0.25);
        g.drawRect(b.x, b.y + BRICK_H - 3, BRICK_W, 3);
        g.endFill();
    }

    function serve() {
        state = Serving;
        serveSpeed = 290 + level * 30;
        updateHud();
    }

    function launch() {
        state = Rolling;
        ball.launch((Math.random() - 0.5) * 0.8, serveSpeed);
    }

    function clampPaddle(x:Float):Float {
        return Math.max(paddleW / 2, Math.min(W - paddleW / 2, x));
    }

    function updateHud() {
        scoreText.text = 'SCORE $score';
        levelText.text = 'LEVEL $level';
        ballsText.text = 'BALLS $balls';
    }

    function onFrame(_) {
        var now = Lib.getTimer();
        var dt = Math.min((now - lastTime) / 1000, 0.05);
        lastTime = now;
        bannerTime -= dt;
        banner.visible = bannerTime > 0;
        if (state != Serving && state != Rolling)
            return;
        if (keyLeft != keyRight)
            paddle.x = clampPaddle(paddle.x + (keyLeft ? -420 : 420) * dt);
        if (state == Serving) {
            ball.x = paddle.x;
            ball.y = PADDLE_Y - BALL_R - 1;
        } else {
            // Short steps, so that a fast ball cannot pass through a brick.
            var steps = Math.ceil(ball.speed() * dt / 4);
            for (i in 0...steps)
                if (!step(dt / steps))
                    break;
        }
        ballShape.x = ball.x;
        ballShape.y = ball.y;
    }

    // Moves the ball one short step; false when the rally has ended.
    function step(dt:Float):Bool {
        ball.move(dt);
        if (ball.bounceOffWalls(0, 40, W))
            new WallSound().play();
        if (ball.bounceOffPaddle(paddle.x, PADDLE_Y, paddleW))
            new PaddleSound().play();
        for (b in bricks)
            if (hitBrick(b))
                break;
        if (bricks.length == 0) {
            nextLevel();
            return false;
        }
        if (ball.y > H + BALL_R) {
            loseBall();
            return false;
        }
        return true;
    }

    function hitBrick(b:Brick):Bool {
        if (!ball.bounceOffBox(b.x, b.y, BRICK_W, BRICK_H))
            return false;
        b.hp--;
        if (b.hp > 0) {
            paintBrick(b, 0xd8dde8);
            new SteelSound().play();
            return true;
        }
        bricks.remove(b);
        wall.removeChild(b.shape);
        score += b.points;
        ball.setSpeed(Math.min(ball.speed() + 5, 640));
        new BrickSound().play();
        updateHud();
        return true;
    }

    function nextLevel() {
        level++;
        new ClearSound().play();
        buildWall();
        showBanner('LEVEL $level');
        serve();
    }

    function loseBall() {
        balls--;
        new LostSound().play();
        if (balls == 0) {
            removeChild(ballShape);
            removeChild(paddle);
            updateHud();
            showGameOver();
            return;
        }
        showBanner(balls == 1 ? "LAST BALL" : 'BALLS LEFT $balls');
        serve();
    }

    function showBanner(text:String) {
        banner.text = text;
        bannerTime = 1.5;
        setChildIndex(banner, numChildren - 1);
    }
}
