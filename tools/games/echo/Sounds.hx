// The sounds of Echo: one note for each pad, and a few signals. At build time
// `haxe --run Sounds <folder>` writes them as WAV files; the game embeds them from there.
#if flash
@:sound("pad0.wav") class Pad0Sound extends flash.media.Sound {}
@:sound("pad1.wav") class Pad1Sound extends flash.media.Sound {}
@:sound("pad2.wav") class Pad2Sound extends flash.media.Sound {}
@:sound("pad3.wav") class Pad3Sound extends flash.media.Sound {}
@:sound("fail.wav") class FailSound extends flash.media.Sound {}
@:sound("round.wav") class RoundSound extends flash.media.Sound {}
@:sound("best.wav") class BestSound extends flash.media.Sound {}
#else
import Synth.Wave;

class Sounds {
    static function main() {
        var dir = Sys.args()[0];
        // Four notes of a major chord, one octave apart at the ends: any order sounds kind.
        for (pad => semitones in [7, 4, 0, -5])
            Synth.save(Synth.mix(Synth.tone(Sine, Synth.note(semitones), Synth.note(semitones), 0.4, 0.45),
                Synth.tone(Triangle, Synth.note(semitones + 12), Synth.note(semitones + 12), 0.4, 0.15)), '$dir/pad$pad.wav');
        Synth.save(Synth.mix(Synth.tone(Square, 110, 80, 0.8, 0.3), Synth.tone(Saw, 116, 84, 0.8, 0.3)), '$dir/fail.wav');
        Synth.save(Synth.melody(Sine, [19, 24].map(Synth.note), 0.08, 0.35), '$dir/round.wav');
        Synth.save(Synth.melody(Triangle, [12, 16, 19, 24, 19, 24, 28].map(Synth.note), 0.09, 0.5), '$dir/best.wav');
    }
}
#end
