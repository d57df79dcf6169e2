typedef Cell = {column:Int, row:Int};

// The rules of Block Pop, apart from drawing: the blocks stand in columns, each listed from the
// bottom up, with no gaps. A block is anything with a colour.
class Board<T:{color:Int}> {
    public final columns:Array<Array<T>>;

    public function new(columns:Array<Array<T>>) {
        this.columns = columns;
    }

    // What a group of this many blocks scores: big groups pay far more than small ones.
    public static function points(size:Int):Int {
        return size * (size - 1) * 5;
    }

    public function at(column:Int, row:Int):Null<T> {
        return column >= 0 && column < columns.length && row >= 0 && row < columns[column].length ? columns[column][row] : null;
    }

    // The block at (column, row) and every block of its colour joined to it side by side,
    // directly or through others; empty where there is no block.
    public function groupAt(column:Int, row:Int):Array<Cell> {
        var start = at(column, row);
        if (start == null)
            return [];
        var group = [{column: column, row: row}];
        var seen = [key(column, row) => true];
        var i = 0;
        while (i < group.length) {
            var cell = group[i++];
            for (step in [[1, 0], [-1, 0], [0, 1], [0, -1]]) {
                var c = cell.column + step[0];
                var r = cell.row + step[1];
                var block = at(c, r);
                if (block != null && block.color == start.color && !seen.exists(key(c, r))) {
                    seen.set(key(c, r), true);
                    group.push({column: c, row: r});
                }
            }
        }
        return group;
    }

    // Takes the blocks of the cells out and returns them. The blocks above fall into the gaps,
    // and columns left empty close up to the left.
    public function remove(cells:Array<Cell>):Array<T> {
        var gone = [for (cell in cells) at(cell.column, cell.row)].filter(b -> b != null);
        for (c in 0...columns.length)
            columns[c] = columns[c].filter(b -> gone.indexOf(b) < 0);
        var left = columns.filter(column -> column.length > 0);
        columns.resize(0);
        for (column in left)
            columns.push(column);
        return gone;
    }

    // Whether any two blocks of one colour still touch.
    public function hasMoves():Bool {
        for (c in 0...columns.length)
            for (r in 0...columns[c].length) {
                var color = columns[c][r].color;
                var right = at(c + 1, r);
                var above = at(c, r + 1);
                if ((right != null && right.color == color) || (above != null && above.color == color))
                    return true;
            }
        return false;
    }

    public function count():Int {
        var n = 0;
        for (column in columns)
            n += column.length;
        return n;
    }

    function key(column:Int, row:Int):Int {
        return column * 1000 + row;
    }
}
