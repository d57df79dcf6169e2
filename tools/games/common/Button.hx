import flash.display.Sprite;
import flash.events.MouseEvent;

// A rounded button with a pixel-font caption that lights up under the pointer.
class Button extends Sprite {
    final w:Float;
    final h:Float;
    final fill:Int;
    final hoverFill:Int;

    // x and y of the button are its centre.
    public function new(caption:String, w:Float, h:Float, fill:Int, hoverFill:Int, textColor:Int, onClick:Void->Void) {
        super();
        this.w = w;
        this.h = h;
        this.fill = fill;
        this.hoverFill = hoverFill;
        // As big as the height allows, but never wider than the button.
        var pixel = Math.max(1, Math.min(Math.floor(h / 12), Math.floor((w - 20) / Font.widthOf(caption, 1))));
        var label = new PixelText(caption, pixel, textColor, 0.5);
        label.y = -label.height / 2;
        addChild(label);
        buttonMode = true;
        mouseChildren = false;
        paint(fill);
        addEventListener(MouseEvent.ROLL_OVER, _ -> paint(hoverFill));
        addEventListener(MouseEvent.ROLL_OUT, _ -> paint(fill));
        addEventListener(MouseEvent.CLICK, _ -> onClick());
    }

    function paint(color:Int) {
        graphics.clear();
        graphics.lineStyle(2, 0xffffff, 0.6);
        graphics.beginFill(color);
        graphics.drawRoundRect(-w / 2, -h / 2, w, h, h / 2, h / 2);
        graphics.endFill();
    }
}
