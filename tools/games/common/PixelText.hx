import flash.display.Shape;

// A line of text in the games' pixel font, drawn with rectangles: the games bring their own
// letters and look the same on every player, with no dependence on fonts of the machine.
class PixelText extends Shape {
    public var text(default, set):String = "";
    public var color(default, set):Int;
    final pixel:Float;
    final align:Float;

    // pixel: the size of one font pixel; align: 0 puts x at the left end of the text, 0.5 in
    // its middle, 1 at its right end.
    public function new(text:String, pixel:Float, color:Int, align = 0.0) {
        super();
        this.pixel = pixel;
        this.align = align;
        this.color = color;
        this.text = text;
    }

    function set_text(value:String):String {
        text = value;
        redraw();
        return value;
    }

    function set_color(value:Int):Int {
        color = value;
        redraw();
        return value;
    }

    function redraw() {
        if (text == null)
            return;
        graphics.clear();
        graphics.beginFill(color);
        var left = -Font.widthOf(text, pixel) * align;
        for (i in 0...text.length) {
            var rows = Font.rows(text.charAt(i));
            if (rows == null)
                continue;
            for (row in 0...rows.length) {
                // One rectangle per run of pixels: fewer seams where rectangles meet.
                var col = 0;
                while (col < Font.COLUMNS) {
                    var end = col;
                    while (end < Font.COLUMNS && rows[row].charAt(end) == "#")
                        end++;
                    if (end > col)
                        graphics.drawRect(left + (i * Font.ADVANCE + col) * pixel, row * pixel, (end - col) * pixel, pixel);
                    col = end + 1;
                }
            }
        }
        graphics.endFill();
    }
}
