// The sounds of Brick Breaker. At build time `haxe --run Sounds <folder>` writes them as WAV
// files; the game embeds them from there.
#if flash
@:sound("paddle.wav") class PaddleSound extends flash.media.Sound {}
@:sound("brick.wav") class BrickSound extends flash.media.Sound {}
@:sound("steel.wav") class SteelSound extends flash.media.Sound {}
@:sound("wall.wav") class WallSound extends flash.media.Sound {}
@:sound("lost.wav") class LostSound extends flash.media.Sound {}
@:sound("clear.wav") class ClearSound extends flash.media.Sound {}
@:sound("start.wav") class StartSound extends flash.media.Sound {}
@:sound("over.wav") class OverSound extends flash.media.Sound {}
#else
import Synth.Wave;

class Sounds {
    static function main() {
        var dir = Sys.args()[0];
        Synth.save(Synth.tone(Square, 420, 520, 0.07, 0.3), '$dir/paddle.wav');
        Synth.save(Synth.tone(Triangle, 880, 1320, 0.09, 0.5), '$dir/brick.wav');
        Synth.save(Synth.mix(Synth.tone(Square, 1800, 1700, 0.12, 0.15), Synth.tone(Noise, 4000, 3000, 0.05, 0.2)), '$dir/steel.wav');
        Synth.save(Synth.tone(Sine, 300, 260, 0.05, 0.4), '$dir/wall.wav');
        Synth.save(Synth.tone(Saw, 500, 70, 0.6, 0.4), '$dir/lost.wav');
        Synth.save(Synth.melody(Square, [0, 4, 7, 12, 7, 12, 16, 19, 24].map(Synth.note), 0.07, 0.25), '$dir/clear.wav');
        Synth.save(Synth.melody(Triangle, [7, 12, 16, 19].map(Synth.note), 0.08, 0.5), '$dir/start.wav');
        Synth.save(Synth.melody(Triangle, [7, 6, 5, 4, 0, -12].map(Synth.note), 0.16, 0.5), '$dir/over.wav');
    }
}
#end
