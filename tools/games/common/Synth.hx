import haxe.io.Bytes;
import haxe.io.BytesOutput;

enum Wave {
    Sine;
    Square;
    Triangle;
    Saw;
    Noise;
}

// Makes the games' sound effects at build time: each game's Sounds.hx describes its sounds
// with these functions and saves them as WAV files, which the game's build embeds. (The
// emulator plays embedded sounds, but not sound that a movie computes while it runs.)
class Synth {
    public static inline final RATE = 22050;

    // A note gliding from one pitch to another, with a quick attack and a fading tail.
    public static function tone(wave:Wave, fromHz:Float, toHz:Float, seconds:Float, volume = 0.5):Array<Float> {
        var count = Std.int(seconds * RATE);
        var out = [];
        var phase = 0.0;
        var noise = 0.0;
        for (i in 0...count) {
            var t = i / count;
            var hz = fromHz * Math.pow(toHz / fromHz, t); // even steps of pitch, as the ear hears
            var before = phase;
            phase = (phase + hz / RATE) % 1;
            if (phase < before)
                noise = random() * 2 - 1; // a new noise value each period keeps its pitch
            var v = switch (wave) {
                case Sine: Math.sin(phase * 2 * Math.PI);
                case Square: phase < 0.5 ? 0.6 : -0.6;
                case Triangle: 1 - 4 * Math.abs(phase - 0.5);
                case Saw: (2 * phase - 1) * 0.7;
                case Noise: noise;
            }
            out.push(v * volume * envelope(i, count));
        }
        return out;
    }

    // A tune: one note per frequency (0 for a rest), each noteSeconds long.
    public static function melody(wave:Wave, notes:Array<Float>, noteSeconds:Float, volume = 0.4):Array<Float> {
        var out = [];
        for (hz in notes)
            out = out.concat(hz > 0 ? tone(wave, hz, hz, noteSeconds, volume) : silence(noteSeconds));
        return out;
    }

    public static function silence(seconds:Float):Array<Float> {
        return [for (_ in 0...Std.int(seconds * RATE)) 0.0];
    }

    // The frequency of a note, in semitones above middle C.
    public static function note(semitones:Int):Float {
        return 261.63 * Math.pow(2, semitones / 12);
    }

    // Two sounds played at once.
    public static function mix(a:Array<Float>, b:Array<Float>):Array<Float> {
        return [for (i in 0...Std.int(Math.max(a.length, b.length))) (i < a.length ? a[i] : 0) + (i < b.length ? b[i] : 0)];
    }

    // 16-bit mono PCM in a WAV file.
    public static function save(samples:Array<Float>, path:String) {
        var out = new BytesOutput();
        out.writeString("RIFF");
        out.writeInt32(36 + samples.length * 2);
        out.writeString("WAVEfmt ");
        out.writeInt32(16);
        out.writeUInt16(1); // PCM
        out.writeUInt16(1); // mono
        out.writeInt32(RATE);
        out.writeInt32(RATE * 2);
        out.writeUInt16(2);
        out.writeUInt16(16);
        out.writeString("data");
        out.writeInt32(samples.length * 2);
        for (s in samples)
            out.writeInt16(Std.int(Math.max(-1, Math.min(1, s)) * 32767));
        sys.io.File.saveBytes(path, out.getBytes());
    }

    // The same noise on every build, so that a game's file only changes with its sources.
    static var seed = 22050;

    static function random():Float {
        seed ^= seed << 13;
        seed ^= seed >>> 17;
        seed ^= seed << 5;
        return (seed >>> 8) / (1 << 24);
    }

    // 5 ms in, then a fall to silence over the whole note: no clicks at either end.
    static function envelope(i:Int, count:Int):Float {
        var attack = Math.min(i / (RATE * 0.005), 1);
        var release = 1 - i / count;
        return attack * release * release;
    }
}
