// The sounds of Block Pop. At build time `haxe --run Sounds <folder>` writes them as WAV
// files; the game embeds them from there.
#if flash
@:sound("pop.wav") class PopSound extends flash.media.Sound {}
@:sound("bigpop.wav") class BigPopSound extends flash.media.Sound {}
@:sound("hugepop.wav") class HugePopSound extends flash.media.Sound {}
@:sound("thud.wav") class ThudSound extends flash.media.Sound {}
@:sound("start.wav") class StartSound extends flash.media.Sound {}
@:sound("cleared.wav") class ClearedSound extends flash.media.Sound {}
@:sound("over.wav") class OverSound extends flash.media.Sound {}
#else
import Synth.Wave;

class Sounds {
    static function main() {
        var dir = Sys.args()[0];
        Synth.save(Synth.tone(Sine, 500, 1100, 0.1, 0.5), '$dir/pop.wav');
        Synth.save(Synth.melody(Sine, [12, 19].map(Synth.note), 0.07, 0.5), '$dir/bigpop.wav');
        Synth.save(Synth.melody(Triangle, [12, 16, 19, 24, 28].map(Synth.note), 0.06, 0.5), '$dir/hugepop.wav');
        Synth.save(Synth.tone(Triangle, 140, 90, 0.12, 0.5), '$dir/thud.wav');
        Synth.save(Synth.melody(Sine, [7, 12, 16].map(Synth.note), 0.09, 0.5), '$dir/start.wav');
        Synth.save(Synth.melody(Square, [12, 16, 19, 24, 0, 24, 28, 31, 36].map(n -> n == 0 ? 0 : Synth.note(n)), 0.08, 0.25), '$dir/cleared.wav');
        Synth.save(Synth.melody(Sine, [12, 11, 9, 7, 0].map(Synth.note), 0.16, 0.5), '$dir/over.wav');
    }
}
#end
