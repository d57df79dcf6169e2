// The sounds of Star Patrol. At build time `haxe --run Sounds <folder>` writes them as WAV
// files; the game embeds them from there.
#if flash
@:sound("shot.wav") class ShotSound extends flash.media.Sound {}
@:sound("boom.wav") class BoomSound extends flash.media.Sound {}
@:sound("hurt.wav") class HurtSound extends flash.media.Sound {}
@:sound("wave.wav") class WaveSound extends flash.media.Sound {}
@:sound("start.wav") class StartSound extends flash.media.Sound {}
@:sound("over.wav") class OverSound extends flash.media.Sound {}
#else
import Synth.Wave;

class Sounds {
    static function main() {
        var dir = Sys.args()[0];
        Synth.save(Synth.tone(Square, 1500, 500, 0.09, 0.25), '$dir/shot.wav');
        Synth.save(Synth.tone(Noise, 900, 60, 0.4, 0.6), '$dir/boom.wav');
        Synth.save(Synth.mix(Synth.tone(Saw, 440, 55, 0.7, 0.4), Synth.tone(Noise, 300, 40, 0.7, 0.5)), '$dir/hurt.wav');
        Synth.save(Synth.melody(Square, [12, 16, 19, 24].map(Synth.note), 0.08, 0.25), '$dir/wave.wav');
        Synth.save(Synth.melody(Triangle, [0, 7, 12, 0, 7, 12, 19, 24].map(Synth.note), 0.07, 0.5), '$dir/start.wav');
        Synth.save(Synth.melody(Triangle, [12, 7, 3, 0, -5].map(Synth.note), 0.18, 0.5), '$dir/over.wav');
    }
}
#end
