#include "DemoMovies.h"

#include "MovieWriter.h"
#include "Tone.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace velmora::swf {

namespace {

using Op = Avm1Code::Op;
using Push = std::function<void(Avm1Code&)>;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kFrameRate = 30;

Push number(double value) {
    return [value](Avm1Code& c) {
        c.push({value});
    };
}

Push variable(const QString& name) {
    return [name](Avm1Code& c) {
        c.getVariable(name);
    };
}

// clip.property += delta
void addToMember(Avm1Code& c, const QString& clip, const QString& property, const Push& delta) {
    c.getVariable(clip).push({property});
    c.getVariable(clip).getMember(property);
    delta(c);
    c.op(Op::Add2).op(Op::SetMember);
}

// name = new Sound(); name.attachSound(name): the exported sound of the same name.
void attachSound(Avm1Code& c, const QString& name) {
    c.push({name, 0, QStringLiteral("Sound")}).op(Op::NewObject).op(Op::SetVariable);
    c.push({name}).callMethod(name, QStringLiteral("attachSound"), 1).op(Op::Pop);
}

// The frame script: variables set up, then onEnterFrame = body, and the timeline stops.
Avm1Code mainScript(const QList<std::pair<QString, double>>& variables, const Avm1Code& body) {
    Avm1Code c;
    for (const auto& [name, value] : variables)
        c.push({name, value}).op(Op::SetVariable);
    c.push({QStringLiteral("onEnterFrame")}).pushFunction(body).op(Op::SetVariable);
    return c;
}

QList<QPointF> rectangle(double width, double height) {
    const double x = width / 2, y = height / 2;
    return {{-x, -y}, {x, -y}, {x, y}, {-x, y}};
}

QList<QPointF> star(int points, double outer, double inner) {
    QList<QPointF> corners;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = (i % 2) ? inner : outer;
        const double angle = i * std::numbers::pi / points - std::numbers::pi / 2;
        corners.append({r * std::cos(angle), r * std::sin(angle)});
    }
    return corners;
}

// A red ball bounces off the edges with a blip at every bounce.
QByteArray bounce() {
    constexpr double kRadius = 24;
    MovieWriter m(kWidth, kHeight, kFrameRate);
    m.setBackground({16, 20, 48});
    const quint16 frame = m.definePolygon(rectangle(kWidth - 16, kHeight - 16), {28, 36, 80});
    const quint16 ball = m.defineClip(m.defineCircle(kRadius, {230, 40, 40}));
    const quint16 blip = m.defineSound(tone(660, 0.12, MovieWriter::kSoundRate));
    m.exportAsset(blip, QStringLiteral("blip"));
    m.place(frame, 1, {kWidth / 2.0, kHeight / 2.0}, {});
    m.place(ball, 2, {kWidth / 2.0, kHeight / 3.0}, QStringLiteral("ball"));

    Avm1Code body;
    const QString ballName = QStringLiteral("ball");
    for (const auto& [property, velocity, limit] :
         {std::tuple{QStringLiteral("_x"), QStringLiteral("vx"), kWidth - kRadius},
          std::tuple{QStringLiteral("_y"), QStringLiteral("vy"), kHeight - kRadius}}) {
        addToMember(body, ballName, property, variable(velocity));
        // if (ball.p < radius || limit < ball.p) { v = 0 - v; blip.start(); }
        const int inside = body.newLabel();
        body.getVariable(ballName).getMember(property).push({kRadius}).op(Op::Less2);
        body.push({limit}).getVariable(ballName).getMember(property).op(Op::Less2);
        body.op(Op::Or).op(Op::Not).branchIfTrue(inside);
        body.push({velocity, 0}).getVariable(velocity).op(Op::Subtract).op(Op::SetVariable);
        body.callMethod(QStringLiteral("blip"), QStringLiteral("start"), 0).op(Op::Pop);
        body.bind(inside);
    }
    Avm1Code script = mainScript({{QStringLiteral("vx"), 6}, {QStringLiteral("vy"), 4}}, body);
    attachSound(script, QStringLiteral("blip"));
    script.op(Op::Stop);
    m.doAction(script);
    m.showFrame();
    return m.finish();
}

// The arrow keys move a blue square among four green posts; a chime sounds at the start.
QByteArray arrows() {
    MovieWriter m(kWidth, kHeight, kFrameRate);
    m.setBackground({12, 36, 20});
    const quint16 post = m.defineCircle(14, {60, 200, 90});
    const quint16 box = m.defineClip(m.definePolygon(rectangle(60, 60), {40, 110, 240}));
    const quint16 chime = m.defineSound(tone(523, 0.4, MovieWriter::kSoundRate));
    for (int i = 0; i < 4; ++i)
        m.place(post, quint16(1 + i), {kWidth * (i % 2 ? 0.8 : 0.2), kHeight * (i / 2 ? 0.8 : 0.2)}, {});
    m.place(box, 10, {kWidth / 2.0, kHeight / 2.0}, QStringLiteral("box"));
    m.startSound(chime);

    Avm1Code body;
    constexpr double kStep = 8;
    for (const auto& [key, property, delta] :
         {std::tuple{37, QStringLiteral("_x"), -kStep}, std::tuple{39, QStringLiteral("_x"), kStep},
          std::tuple{38, QStringLiteral("_y"), -kStep}, std::tuple{40, QStringLiteral("_y"), kStep}}) {
        const int released = body.newLabel();
        body.push({key}).callMethod(QStringLiteral("Key"), QStringLiteral("isDown"), 1);
        body.op(Op::Not).branchIfTrue(released);
        addToMember(body, QStringLiteral("box"), property, number(delta));
        body.bind(released);
    }
    Avm1Code script = mainScript({}, body);
    script.op(Op::Stop);
    m.doAction(script);
    m.showFrame();
    return m.finish();
}

// A yellow star turns in the middle while an orange triangle circles it; a tone at the start.
QByteArray spin() {
    constexpr double kOrbit = 170;
    MovieWriter m(kWidth, kHeight, kFrameRate);
    m.setBackground({40, 14, 50});
    const quint16 starClip = m.defineClip(m.definePolygon(star(5, 70, 30), {250, 220, 40}));
    const quint16 triangle = m.defineClip(m.definePolygon({{0, -26}, {24, 18}, {-24, 18}}, {250, 130, 30}));
    const quint16 note = m.defineSound(tone(784, 0.3, MovieWriter::kSoundRate));
    m.place(starClip, 1, {kWidth / 2.0, kHeight / 2.0}, QStringLiteral("star"));
    m.place(triangle, 2, {kWidth / 2.0 + kOrbit, kHeight / 2.0}, QStringLiteral("tri"));
    m.startSound(note);

    Avm1Code body;
    const QString t = QStringLiteral("t");
    addToMember(body, QStringLiteral("star"), QStringLiteral("_rotation"), number(3));
    addToMember(body, QStringLiteral("tri"), QStringLiteral("_rotation"), number(-9));
    body.push({t}).getVariable(t).push({0.05}).op(Op::Add2).op(Op::SetVariable);
    // tri._x = centre + orbit * Math.cos(t), and likewise _y with Math.sin(t)
    for (const auto& [property, function, centre] :
         {std::tuple{QStringLiteral("_x"), QStringLiteral("cos"), kWidth / 2.0},
          std::tuple{QStringLiteral("_y"), QStringLiteral("sin"), kHeight / 2.0}}) {
        body.getVariable(QStringLiteral("tri")).push({property, centre, kOrbit});
        body.getVariable(t).callMethod(QStringLiteral("Math"), function, 1);
        body.op(Op::Multiply).op(Op::Add2).op(Op::SetMember);
    }
    Avm1Code script = mainScript({{t, 0}}, body);
    script.op(Op::Stop);
    m.doAction(script);
    m.showFrame();
    return m.finish();
}

} // namespace

QStringList demoMovieKinds() {
    return {QStringLiteral("bounce"), QStringLiteral("arrows"), QStringLiteral("spin")};
}

QByteArray demoMovie(const QString& kind) {
    if (kind == QLatin1String("bounce"))
        return bounce();
    if (kind == QLatin1String("arrows"))
        return arrows();
    if (kind == QLatin1String("spin"))
        return spin();
    return {};
}

} // namespace velmora::swf
