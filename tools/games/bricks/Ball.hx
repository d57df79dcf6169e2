// The ball of Brick Breaker: where it is, where it goes and how it bounces, apart from drawing.
// Positions in stage pixels, y downwards; speeds in pixels a second.
class Ball {
    public var x = 0.0;
    public var y = 0.0;
    public var vx = 0.0;
    public var vy = 0.0;
    public final radius:Float;

    public function new(radius:Float) {
        this.radius = radius;
    }

    public function speed():Float {
        return Math.sqrt(vx * vx + vy * vy);
    }

    // Sets off upwards at the angle from straight up (radians, positive to the right).
    public function launch(angle:Float, speed:Float) {
        vx = Math.sin(angle) * speed;
        vy = -Math.cos(angle) * speed;
    }

    // Same direction, new speed.
    public function setSpeed(speed:Float) {
        var scale = speed / this.speed();
        vx *= scale;
        vy *= scale;
    }

    public function move(dt:Float) {
        x += vx * dt;
        y += vy * dt;
    }

    // Keeps the ball between left and right and below top; true when it bounced.
    public function bounceOffWalls(left:Float, top:Float, right:Float):Bool {
        var bounced = false;
        if ((x - radius < left && vx < 0) || (x + radius > right && vx > 0)) {
            vx = -vx;
            bounced = true;
        }
        if (y - radius < top && vy < 0) {
            vy = -vy;
            bounced = true;
        }
        return bounced;
    }

    // The paddle's top edge is at paddleY, its middle at paddleX. The further from the middle
    // the ball lands, the flatter it leaves (up to 60 degrees); true when it landed.
    public function bounceOffPaddle(paddleX:Float, paddleY:Float, width:Float):Bool {
        var reach = width / 2 + radius;
        if (vy <= 0 || y + radius < paddleY || y > paddleY + 6 || Math.abs(x - paddleX) >= reach)
            return false;
        launch((x - paddleX) / reach * 1.05, speed());
        return true;
    }

    // When the ball touches the box, it bounces off the side it went in least deep: true then.
    public function bounceOffBox(left:Float, top:Float, width:Float, height:Float):Bool {
        var nearX = Math.max(left, Math.min(x, left + width));
        var nearY = Math.max(top, Math.min(y, top + height));
        if ((x - nearX) * (x - nearX) + (y - nearY) * (y - nearY) > radius * radius)
            return false;
        var depthX = Math.min(x + radius - left, left + width - (x - radius));
        var depthY = Math.min(y + radius - top, top + height - (y - radius));
        if (depthX < depthY)
            vx = x < left + width / 2 ? -Math.abs(vx) : Math.abs(vx);
        else
            vy = y < top + height / 2 ? -Math.abs(vy) : Math.abs(vy);
        return true;
    }
}
