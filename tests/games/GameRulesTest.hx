// The rules of the demo games, apart from the player: the pixel font, Block Pop's board, the
// ball of Brick Breaker and Echo's score table. Run at build time by Haxe's interpreter
// (ctest runs it); exits with 1 and names every failed check.
import Board.Cell;
import haxe.PosInfos;

typedef Block = {color:Int};

class GameRulesTest {
    static var failures = 0;

    static function main() {
        fontGlyphsAreWellFormed();
        fontDrawsSmallLettersAsCapitals();
        groupsJoinSideBySideOnly();
        removedGroupsLetBlocksFallAndColumnsClose();
        boardWithoutTouchingPairsHasNoMoves();
        bigGroupsPayMoreThanSmallOnes();
        ballBouncesOnceOffEachWall();
        paddleSetsTheAngleAndKeepsTheSpeed();
        ballBouncesOffTheSideOfABoxItHits();
        scoreTableKeepsTheBestInOrder();
        if (failures > 0) {
            Sys.println('$failures checks failed');
            Sys.exit(1);
        }
        Sys.println("all checks passed");
    }

    static function check(condition:Bool, what:String, ?pos:PosInfos) {
        if (!condition) {
            failures++;
            Sys.println('${pos.fileName}:${pos.lineNumber}: ${pos.methodName}: $what');
        }
    }

    static function fontGlyphsAreWellFormed() {
        for (char => glyph in Font.GLYPHS) {
            var rows = Font.rows(char);
            check(rows.length == Font.ROWS, '"$char" has ${rows.length} rows');
            for (row in rows)
                check(row.length == Font.COLUMNS && ~/^[.#]+$/.match(row), '"$char" has the row "$row"');
        }
    }

    static function fontDrawsSmallLettersAsCapitals() {
        check(Font.rows("g").join("") == Font.rows("G").join(""), "g is not drawn as G");
        check(Font.rows(" ") == null && Font.rows("~") == null, "a space or an unknown character has a glyph");
        // Each character takes its room, drawn or not; no space after the last.
        check(Font.widthOf("A B", 2) == (3 * 6 - 1) * 2, 'width ${Font.widthOf("A B", 2)}');
        check(Font.widthOf("", 2) == 0, "an empty text has a width");
    }

    // A board from columns of colour numbers, each column from the bottom up.
    static function board(columns:Array<Array<Int>>):Board<Block> {
        return new Board([for (column in columns) [for (color in column) {color: color}]]);
    }

    static function colours(b:Board<Block>):Array<Array<Int>> {
        return [for (column in b.columns) [for (block in column) block.color]];
    }

    static function sortedCells(cells:Array<Cell>):String {
        var names = [for (c in cells) '${c.column}/${c.row}'];
        names.sort(Reflect.compare);
        return names.join(" ");
    }

    static function groupsJoinSideBySideOnly() {
        var b = board([
            [1, 1, 2],
            [2, 1, 1],
            [1, 2, 1],
        ]);
        // The 1s at 0/0, 0/1, 1/1, 1/2 and 2/2 join through each other; 2/0 touches 1/1 only
        // corner to corner.
        check(sortedCells(b.groupAt(0, 0)) == "0/0 0/1 1/1 1/2 2/2", sortedCells(b.groupAt(0, 0)));
        check(sortedCells(b.groupAt(2, 0)) == "2/0", sortedCells(b.groupAt(2, 0)));
        check(b.groupAt(0, 3).length == 0 && b.groupAt(-1, 0).length == 0 && b.groupAt(3, 0).length == 0,
            "an empty cell has a group");
    }

    static function removedGroupsLetBlocksFallAndColumnsClose() {
        var b = board([
            [3, 1, 4],
            [1, 1],
            [5, 6],
        ]);
        var gone = b.remove(b.groupAt(1, 0));
        check(gone.length == 3 && gone.filter(block -> block.color != 1).length == 0, 'removed ${gone.length} blocks');
        // The 4 falls onto the 3, the empty middle column closes up.
        check(colours(b).toString() == [[3, 4], [5, 6]].toString(), colours(b).toString());
        check(b.count() == 4, 'count ${b.count()}');
    }

    static function boardWithoutTouchingPairsHasNoMoves() {
        check(!board([[1, 2, 1], [2, 1, 2]]).hasMoves(), "a chequered board has moves");
        check(board([[1, 2], [2, 1], [3, 1]]).hasMoves(), "two 1s side by side in the second row are no move");
        check(board([[2, 1, 1]]).hasMoves(), "two 1s on top of each other are no move");
        check(!board([]).hasMoves(), "an empty board has moves");
    }

    static function bigGroupsPayMoreThanSmallOnes() {
        check(Board.points(10) > 5 * Board.points(2), "one group of ten pays no more than five of two");
        check(Board.points(2) > 0, "a pair pays nothing");
    }

    static function ball(x:Float, y:Float, vx:Float, vy:Float):Ball {
        var b = new Ball(5);
        b.x = x;
        b.y = y;
        b.vx = vx;
        b.vy = vy;
        return b;
    }

    static function ballBouncesOnceOffEachWall() {
        var b = ball(3, 100, -100, 50);
        check(b.bounceOffWalls(0, 40, 600) && b.vx == 100 && b.vy == 50, 'left wall: ${b.vx}, ${b.vy}');
        // Still inside the wall on the next step, but already on its way out: no second bounce.
        check(!b.bounceOffWalls(0, 40, 600) && b.vx == 100, "a second bounce off the left wall");
        b = ball(300, 42, 30, -100);
        check(b.bounceOffWalls(0, 40, 600) && b.vy == 100, 'top: ${b.vy}');
        b = ball(598, 300, 80, 10);
        check(b.bounceOffWalls(0, 40, 600) && b.vx == -80, 'right wall: ${b.vx}');
        check(!ball(300, 300, 80, 100).bounceOffWalls(0, 40, 600), "a bounce in the open");
    }

    static function paddleSetsTheAngleAndKeepsTheSpeed() {
        // The paddle: middle at x 300, top at y 400, 100 wide.
        var middle = ball(300, 397, 60, 80);
        check(middle.bounceOffPaddle(300, 400, 100), "missed the middle");
        check(Math.abs(middle.vx) < 1e-9 && middle.vy < 0, 'middle: ${middle.vx}, ${middle.vy}');
        check(Math.abs(middle.speed() - 100) < 1e-9, 'speed ${middle.speed()}');
        var edge = ball(350, 397, -60, 80);
        check(edge.bounceOffPaddle(300, 400, 100) && edge.vx > 0 && edge.vy < 0, 'right end: ${edge.vx}, ${edge.vy}');
        check(edge.vx > -edge.vy, "the right end sends the ball off steeper than the middle");
        check(!ball(300, 397, 0, -100).bounceOffPaddle(300, 400, 100), "a rising ball bounced");
        check(!ball(360, 397, 0, 100).bounceOffPaddle(300, 400, 100), "a ball beside the paddle bounced");
        check(!ball(300, 380, 0, 100).bounceOffPaddle(300, 400, 100), "a ball above the paddle bounced");
    }

    static function ballBouncesOffTheSideOfABoxItHits() {
        // A brick from (100, 100) to (150, 120).
        var below = ball(125, 124, 20, -100);
        check(below.bounceOffBox(100, 100, 50, 20) && below.vy == 100 && below.vx == 20, 'from below: ${below.vx}, ${below.vy}');
        var side = ball(96, 110, 100, 20);
        check(side.bounceOffBox(100, 100, 50, 20) && side.vx == -100 && side.vy == 20, 'from the left: ${side.vx}, ${side.vy}');
        // Near a corner, but not touching it.
        check(!ball(96, 96, 100, 100).bounceOffBox(100, 100, 50, 20), "a bounce off a corner not touched");
        var faster = ball(0, 0, 30, -40);
        faster.setSpeed(100);
        check(Math.abs(faster.vx - 60) < 1e-9 && Math.abs(faster.vy + 80) < 1e-9, 'new speed: ${faster.vx}, ${faster.vy}');
    }

    static function scoreTableKeepsTheBestInOrder() {
        var table = new ScoreTable(3);
        check(table.add(0) == -1 && table.scores.length == 0 && table.best() == 0, "a score of 0 entered");
        check(table.add(4) == 0, "first score not first");
        check(table.add(7) == 0 && table.best() == 7, "a new best not first");
        // An equal score goes below the one already there.
        check(table.add(4) == 2, "a tie placed above");
        check(table.add(2) == -1, "a score below a full table entered");
        check(table.add(5) == 1 && table.scores.toString() == [7, 5, 4].toString(), table.scores.toString());
    }
}
