// The best scores of this session, highest first. Nothing is stored: the table lasts as long
// as the game runs.
class ScoreTable {
    public final scores:Array<Int> = [];
    final size:Int;

    public function new(size:Int) {
        this.size = size;
    }

    // Enters a score and returns its place (0 for the best), or -1 when it did not make the
    // table. A score of 0 never does; a score equal to one already there goes below it.
    public function add(score:Int):Int {
        var place = 0;
        while (place < scores.length && scores[place] >= score)
            place++;
        if (score <= 0 || place >= size)
            return -1;
        scores.insert(place, score);
        if (scores.length > size)
            scores.pop();
        return place;
    }

    public function best():Int {
        return scores.length > 0 ? scores[0] : 0;
    }
}
