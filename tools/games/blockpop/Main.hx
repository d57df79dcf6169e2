// Block Pop: clear the board of coloured blocks.
// How to play: click a group of two or more touching blocks of one colour to pop it. Blocks
// above fall down and empty columns close up to the left. A group of n blocks scores
// n x (n - 1) x 5, so big groups pay far more: plan ahead. The game ends when no group is
// left; an empty board earns a bonus of 1000.
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.MouseEvent;
import flash.Lib;
import Sounds;

typedef Block = {shape:Shape, color:Int};

class Main extends Sprite {
    static inline final W = 560;
    static inline final H = 420;
    static inline final COLUMNS = 12;
    static inline final ROWS = 9;
    static inline final CELL = 40;
    static inline final LEFT = 40;
    static inline final TOP = 46;
    static inline final CLEAR_BONUS = 1000;
    static final COLORS = [0xff5470, 0xffc93c, 0x4cd97b, 0x3fa7ff];

    var grid = new Board<Block>([]);
    final board = new Sprite();
    final blocks = new Sprite();
    final highlight = new Shape();
    final scoreText = new PixelText("", 3, 0xffffff);
    final bestText = new PixelText("", 3, 0x9fb4d8, 1);
    final hint = new Sprite(); // the value of the group under the pointer, beside the pointer
    final hintText = new PixelText("", 3, 0xffffff, 0.5);
    var screen:Sprite;
    var playing = false;
    var score = 0;
    var best = 0;

    static function main() {
        Lib.current.addChild(new Main());
    }

    function new() {
        super();
        graphics.beginFill(0x1b2233);
        graphics.drawRect(0, 0, W, H);
        graphics.endFill();
        graphics.beginFill(0x111726);
        graphics.drawRoundRect(LEFT - 6, TOP - 6, COLUMNS * CELL + 12, ROWS * CELL + 12, 16, 16);
        graphics.endFill();
        // Transparent, but it takes the pointer also between and above the blocks.
        board.graphics.beginFill(0, 0);
        board.graphics.drawRect(LEFT, TOP, COLUMNS * CELL, ROWS * CELL);
        board.graphics.endFill();
        board.addChild(blocks);
        board.addChild(highlight);
        addChild(board);
        scoreText.x = LEFT;
        scoreText.y = 16;
        bestText.x = W - LEFT;
        bestText.y = 16;
        hint.addChild(hintText);
        hint.mouseEnabled = hint.mouseChildren = false;
        for (t in [scoreText, bestText])
            addChild(t);
        addChild(hint);
        board.addEventListener(MouseEvent.MOUSE_MOVE, _ -> showGroup());
        board.addEventListener(MouseEvent.ROLL_OUT, _ -> {
            highlight.graphics.clear();
            hint.visible = false;
        });
        board.addEventListener(MouseEvent.CLICK, _ -> popAtPointer());
        addEventListener(Event.ENTER_FRAME, _ -> settle());
        fill();
        showTitle();
    }

    function showTitle() {
        var s = newScreen();
        addLine(s, "BLOCK POP", 9, 0xffc93c, 100);
        addLine(s, "CLICK A GROUP OF TWO OR MORE", 3, 0xffffff, 190);
        addLine(s, "BIG GROUPS SCORE MUCH MORE", 3, 0xffffff, 222);
        addButton(s, "PLAY", 300);
    }

    function showGameOver(left:Int) {
        playing = false;
        var cleared = left == 0;
        if (cleared)
            score += CLEAR_BONUS;
        cleared ? new ClearedSound().play() : new OverSound().play();
        var newBest = score > best;
        best = Std.int(Math.max(best, score));
        updateHud();
        var s = newScreen();
        addLine(s, cleared ? "BOARD CLEARED!" : "NO MORE MOVES", 6, cleared ? 0x4cd97b : 0xff5470, 90);
        addLine(s, cleared ? 'BONUS $CLEAR_BONUS' : 'BLOCKS LEFT $left', 3, 0xffffff, 160);
        addLine(s, 'SCORE $score', 5, 0xffffff, 200);
        addLine(s, newBest ? "NEW BEST!" : 'BEST $best', 3, 0xffc93c, 250);
        addButton(s, "PLAY AGAIN", 320);
    }

    function newScreen():Sprite {
        if (screen != null)
            removeChild(screen);
        highlight.graphics.clear();
        hint.visible = false;
        screen = new Sprite();
        screen.graphics.beginFill(0x1b2233, 0.85);
        screen.graphics.drawRect(0, 0, W, H);
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

    function addButton(s:Sprite, caption:String, y:Float) {
        var b = new Button(caption, 220, 44, 0x2a6bd1, 0x4a8cf0, 0xffffff, startGame);
        b.x = W / 2;
        b.y = y;
        s.addChild(b);
    }

    function startGame() {
        removeChild(screen);
        screen = null;
        score = 0;
        fill();
        playing = true;
        updateHud();
        new StartSound().play();
    }

    // A new board of random blocks, each dropping in from above.
    function fill() {
        blocks.removeChildren();
        grid = new Board([
            for (c in 0...COLUMNS) [
                for (r in 0...ROWS) {
                    var color = COLORS[Std.random(COLORS.length)];
                    var b = {shape: blockShape(color), color: color};
                    b.shape.x = cellX(c);
                    b.shape.y = cellY(r) - H;
                    blocks.addChild(b.shape);
                    b;
                }
            ]
        ]);
    }

    // A rounded block with a white sign of its colour, for players who tell colours apart badly.
    static function blockShape(color:Int):Shape {
        var s = new Shape();
        var g = s.graphics;
        g.beginFill(color);
        g.drawRoundRect(2, 2, CELL - 4, CELL - 4, 10, 10);
        g.endFill();
        g.beginFill(0xffffff, 0.3);
        g.drawRoundRect(5, 4, CELL - 10, 8, 6, 6);
        g.endFill();
        g.beginFill(0xffffff, 0.8);
        var m = CELL / 2;
        switch (COLORS.indexOf(color)) {
            case 0:
                g.drawCircle(m, m + 2, 6);
            case 1:
                g.moveTo(m, m - 5);
                g.lineTo(m + 7, m + 7);
                g.lineTo(m - 7, m + 7);
            case 2:
                g.drawRect(m - 5, m - 3, 10, 10);
            default:
                g.moveTo(m, m - 5);
                g.lineTo(m + 7, m + 2);
                g.lineTo(m, m + 9);
                g.lineTo(m - 7, m + 2);
        }
        g.endFill();
        return s;
    }

    static function cellX(column:Int):Float {
        return LEFT + column * CELL;
    }

    static function cellY(row:Int):Float {
        return TOP + (ROWS - 1 - row) * CELL;
    }

    function groupAtPointer():Array<Board.Cell> {
        if (!playing)
            return [];
        return grid.groupAt(Math.floor((board.mouseX - LEFT) / CELL), ROWS - 1 - Math.floor((board.mouseY - TOP) / CELL));
    }

    function showGroup() {
        var group = groupAtPointer();
        var g = highlight.graphics;
        g.clear();
        hint.visible = group.length >= 2;
        if (!hint.visible)
            return;
        g.lineStyle(3, 0xffffff);
        for (cell in group)
            g.drawRoundRect(cellX(cell.column) + 1, cellY(cell.row) + 1, CELL - 2, CELL - 2, 10, 10);
        hintText.text = '+${Board.points(group.length)}';
        var w = Font.widthOf(hintText.text, 3) + 16;
        hint.graphics.clear();
        hint.graphics.beginFill(0x000000, 0.75);
        hint.graphics.drawRoundRect(-w / 2, -6, w, 33, 12, 12);
        hint.graphics.endFill();
        // Below and right of the pointer, as a tooltip, but inside the stage.
        hint.x = Math.min(W - w / 2, mouseX + w / 2 + 10);
        hint.y = Math.min(H - 30, mouseY + 22);
    }

    function popAtPointer() {
        var group = groupAtPointer();
        if (!playing)
            return;
        if (group.length < 2) {
            new ThudSound().play();
            return;
        }
        for (b in grid.remove(group))
            blocks.removeChild(b.shape);
        score += Board.points(group.length);
        if (group.length >= 10)
            new HugePopSound().play();
        else if (group.length >= 5)
            new BigPopSound().play();
        else
            new PopSound().play();
        updateHud();
        showGroup();
        if (!grid.hasMoves())
            showGameOver(grid.count());
    }

    // Each frame every block glides part of the way to its cell.
    function settle() {
        for (c in 0...grid.columns.length)
            for (r in 0...grid.columns[c].length) {
                var s = grid.columns[c][r].shape;
                s.x += (cellX(c) - s.x) * 0.3;
                s.y += (cellY(r) - s.y) * 0.3;
            }
    }

    function updateHud() {
        scoreText.text = 'SCORE $score';
        bestText.text = best > 0 ? 'BEST $best' : "";
    }
}
