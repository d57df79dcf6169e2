import flash.display.Shape;

// A line of text in a 5x7 pixel font drawn with rectangles: the games bring their own letters
// and draw the same on every player, with no dependence on fonts installed on the machine.
class PixelText extends Shape {
    static final GLYPHS:Map<String, String> = [
        "A" => ".###. #...# #...# ##### #...# #...# #...#",
        "B" => "####. #...# #...# ####. #...# #...# ####.",
        "C" => ".###. #...# #.... #.... #.... #...# .###.",
        "D" => "####. #...# #...# #...# #...# #...# ####.",
        "E" => "##### #.... #.... ####. #.... #.... #####",
        "F" => "##### #.... #.... ####. #.... #.... #....",
        "G" => ".###. #...# #.... #.### #...# #...# .####",
        "H" => "#...# #...# #...# ##### #...# #...# #...#",
        "I" => ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
        "J" => "..### ...#. ...#. ...#. ...#. #..#. .##..",
        "K" => "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
        "L" => "#.... #.... #.... #.... #.... #.... #####",
        "M" => "#...# ##.## #.#.# #.#.# #...# #...# #...#",
        "N" => "#...# #...# ##..# #.#.# #..## #...# #...#",
        "O" => ".###. #...# #...# #...# #...# #...# .###.",
        "P" => "####. #...# #...# ####. #.... #.... #....",
        "Q" => ".###. #...# #...# #...# #.#.# #..#. .##.#",
        "R" => "####. #...# #...# ####. #.#.. #..#. #...#",
        "S" => ".#### #.... #.... .###. ....# ....# ####.",
        "T" => "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
        "U" => "#...# #...# #...# #...# #...# #...# .###.",
        "V" => "#...# #...# #...# #...# #...# .#.#. ..#..",
        "W" => "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
        "X" => "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
        "Y" => "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
        "Z" => "##### ....# ...#. ..#.. .#... #.... #####",
        "0" => ".###. #...# #..## #.#.# ##..# #...# .###.",
        "1" => "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
        "2" => ".###. #...# ....# ...#. ..#.. .#... #####",
        "3" => "####. ....# ....# .###. ....# ....# ####.",
        "4" => "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
        "5" => "##### #.... ####. ....# ....# #...# .###.",
        "6" => ".###. #.... #.... ####. #...# #...# .###.",
        "7" => "##### ....# ...#. ..#.. .#... .#... .#...",
        "8" => ".###. #...# #...# .###. #...# #...# .###.",
        "9" => ".###. #...# #...# .#### ....# ....# .###.",
        "!" => "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..",
        "?" => ".###. #...# ....# ...#. ..#.. ..... ..#..",
        "." => "..... ..... ..... ..... ..... ..... ..#..",
        "," => "..... ..... ..... ..... ..... ..#.. .#...",
        ":" => "..... ..#.. ..... ..... ..... ..#.. .....",
        "-" => "..... ..... ..... .###. ..... ..... .....",
        "+" => "..... ..#.. ..#.. ##### ..#.. ..#.. .....",
        "'" => "..#.. ..#.. ..... ..... ..... ..... .....",
        "/" => "....# ....# ...#. ..#.. .#... #.... #....",
        "<" => "...#. ..#.. .#... #.... .#... ..#.. ...#.",
        ">" => ".#... ..#.. ...#. ....# ...#. ..#.. .#...",
    ];
    static inline final ADVANCE = 6; // five pixels of glyph and one of space

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

    public static function widthOf(text:String, pixel:Float):Float {
        return text.length == 0 ? 0 : (text.length * ADVANCE - 1) * pixel;
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
        var left = -widthOf(text, pixel) * align;
        for (i in 0...text.length) {
            var glyph = GLYPHS.get(text.charAt(i).toUpperCase());
            if (glyph == null)
                continue; // a space, or a letter the font does not have
            var rows = glyph.split(" ");
            for (row in 0...rows.length) {
                // One rectangle per run of pixels: fewer seams where rectangles meet.
                var col = 0;
                while (col < 5) {
                    var end = col;
                    while (end < 5 && rows[row].charAt(end) == "#")
                        end++;
                    if (end > col)
                        graphics.drawRect(left + (i * ADVANCE + col) * pixel, row * pixel, (end - col) * pixel, pixel);
                    col = end + 1;
                }
            }
        }
        graphics.endFill();
    }
}
