#include "ProbeMovies.h"

#include "MovieWriter.h"

#include <functional>

namespace velmora::test {

namespace {

using swf::Avm1Code;
using Op = Avm1Code::Op;
using Push = std::function<void(Avm1Code&)>;

Push text(const QString& value) {
    return [value](Avm1Code& c) {
        c.push({value});
    };
}

// The first argument of the function being run.
void firstArgument(Avm1Code& c) {
    c.getVariable(QStringLiteral("arguments")).getMember(QStringLiteral("0"));
}

// new LoadVars().load(reportUrl + "probe=" + name + "&got=" + what)
void report(Avm1Code& c, const QString& reportUrl, const QString& name, const Push& what) {
    c.push({reportUrl + QStringLiteral("probe=") + name + QStringLiteral("&got=")});
    what(c);
    c.op(Op::Add2);
    c.push({1, 0, QStringLiteral("LoadVars")}).op(Op::NewObject);
    c.push({QStringLiteral("load")}).op(Op::CallMethod).op(Op::Pop);
}

Avm1Code reportFunction(const QString& reportUrl, const QString& name, const Push& what) {
    Avm1Code body;
    report(body, reportUrl, name, what);
    return body;
}

// variable = new className()
void newObject(Avm1Code& c, const QString& variable, const QString& className) {
    c.push({variable, 0, className}).op(Op::NewObject).op(Op::SetVariable);
}

// variable.member = function () { body }
void setHandler(Avm1Code& c, const QString& variable, const QString& member, const Avm1Code& body) {
    c.getVariable(variable).push({member}).pushFunction(body).op(Op::SetMember);
}

QByteArray oneFrame(const Avm1Code& script, double frameRate = 30) {
    swf::MovieWriter m(200, 150, frameRate);
    m.setBackground({30, 30, 30});
    m.doAction(script);
    m.showFrame();
    return m.finish();
}

} // namespace

QByteArray fileProbeMovie(const QString& reportUrl, const QList<Probe>& reads, const QList<Probe>& movies) {
    Avm1Code c;
    for (int i = 0; i < reads.size(); ++i) {
        const QString loader = QStringLiteral("read%1").arg(i);
        newObject(c, loader, QStringLiteral("LoadVars"));
        setHandler(c, loader, QStringLiteral("onData"),
                   reportFunction(reportUrl, reads[i].name, firstArgument));
        c.push({reads[i].address}).callMethod(loader, QStringLiteral("load"), 1).op(Op::Pop);
    }
    for (int i = 0; i < movies.size(); ++i) {
        const QString loader = QStringLiteral("clip%1").arg(i),
                      listener = QStringLiteral("listener%1").arg(i);
        newObject(c, loader, QStringLiteral("MovieClipLoader"));
        newObject(c, listener, QStringLiteral("Object"));
        setHandler(c, listener, QStringLiteral("onLoadInit"),
                   reportFunction(reportUrl, movies[i].name, text(QStringLiteral("loaded"))));
        setHandler(c, listener, QStringLiteral("onLoadError"),
                   reportFunction(reportUrl, movies[i].name, text(QStringLiteral("error"))));
        c.getVariable(listener).callMethod(loader, QStringLiteral("addListener"), 1).op(Op::Pop);
        // loadClip(address, level)
        c.push({10 + i, movies[i].address}).callMethod(loader, QStringLiteral("loadClip"), 2).op(Op::Pop);
    }
    c.op(Op::Stop);
    return oneFrame(c);
}

QByteArray launchProbeMovie(const QString& reportUrl, const QString& first, const QString& target,
                            const QString& more) {
    Avm1Code c;
    // Tries to run script in the player page, both ways a game has.
    c.getUrl(QStringLiteral("javascript:document.title='script ran'"), QString());
    c.push({QStringLiteral("document.title='eval ran'"), QStringLiteral("eval"), 2});
    c.callMethod(QStringLiteral("flash.external.ExternalInterface"), QStringLiteral("call"), 2).op(Op::Pop);
    c.getUrl(QStringLiteral("file:///etc/passwd"), QStringLiteral("_blank"));
    c.getUrl(more + QStringLiteral("?unasked"), QStringLiteral("_blank"));
    c.getUrl(more + QStringLiteral("?unasked-self"), QString());
    c.getUrl(more + QStringLiteral("?unasked-top"), QStringLiteral("_top"));
    c.push({QStringLiteral("clicks"), 0}).op(Op::SetVariable);
    report(c, reportUrl, QStringLiteral("ready"), text(QStringLiteral("yes")));

    Avm1Code click;
    click.getUrl(first, target);
    for (int i = 1; i <= 9; ++i)
        click.getUrl(more + QStringLiteral("?%1").arg(i), QStringLiteral("_blank"));
    click.getUrl(QStringLiteral("FSCommand:fullscreen"), QStringLiteral("true"));
    click.getVariable(QStringLiteral("Stage"))
        .push({QStringLiteral("displayState"), QStringLiteral("fullScreen")});
    click.op(Op::SetMember);
    click.push({QStringLiteral("clicks")}).getVariable(QStringLiteral("clicks")).push({1}).op(Op::Add2);
    click.op(Op::SetVariable);
    report(click, reportUrl, QStringLiteral("click"),
           [](Avm1Code& b) { b.getVariable(QStringLiteral("clicks")); });
    c.push({QStringLiteral("onMouseDown")}).pushFunction(click).op(Op::SetVariable);
    c.op(Op::Stop);
    return oneFrame(c);
}

QByteArray heartbeatMovie(const QString& reportUrl) {
    Avm1Code beat;
    beat.push({QStringLiteral("n")})
        .getVariable(QStringLiteral("n"))
        .push({1})
        .op(Op::Add2)
        .op(Op::SetVariable);
    report(beat, reportUrl, QStringLiteral("beat"), [](Avm1Code& b) { b.getVariable(QStringLiteral("n")); });
    Avm1Code c;
    c.push({QStringLiteral("n"), 0}).op(Op::SetVariable);
    c.push({QStringLiteral("onEnterFrame")}).pushFunction(beat).op(Op::SetVariable);
    c.op(Op::Stop);
    return oneFrame(c, 10);
}

QByteArray keyReportMovie(const QString& reportUrl) {
    Avm1Code down;
    report(down, reportUrl, QStringLiteral("key"),
           [](Avm1Code& b) { b.callMethod(QStringLiteral("Key"), QStringLiteral("getCode"), 0); });
    Avm1Code c;
    newObject(c, QStringLiteral("keys"), QStringLiteral("Object"));
    setHandler(c, QStringLiteral("keys"), QStringLiteral("onKeyDown"), down);
    c.getVariable(QStringLiteral("keys")).callMethod(QStringLiteral("Key"), QStringLiteral("addListener"), 1);
    c.op(Op::Pop).op(Op::Stop);
    return oneFrame(c);
}

QByteArray counterMovie(const QString& reportUrl, const QString& objectName, const QString& localPath,
                        Flush flush) {
    const auto number = [](Avm1Code& c) {
        c.getVariable(QStringLiteral("so")).getMember(QStringLiteral("data")).getMember(QStringLiteral("n"));
    };
    Avm1Code c;
    c.push({QStringLiteral("so")});
    if (localPath.isEmpty())
        c.push({objectName}).callMethod(QStringLiteral("SharedObject"), QStringLiteral("getLocal"), 1);
    else
        c.push({localPath, objectName}).callMethod(QStringLiteral("SharedObject"), QStringLiteral("getLocal"), 2);
    c.op(Op::SetVariable);
    // if (!(0 < so.data.n)) so.data.n = 0;
    const int counted = c.newLabel();
    c.push({0});
    number(c);
    c.op(Op::Less2).branchIfTrue(counted);
    c.getVariable(QStringLiteral("so")).getMember(QStringLiteral("data")).push({QStringLiteral("n"), 0});
    c.op(Op::SetMember);
    c.bind(counted);
    c.getVariable(QStringLiteral("so")).getMember(QStringLiteral("data")).push({QStringLiteral("n")});
    number(c);
    c.push({1}).op(Op::Add2).op(Op::SetMember);
    if (flush == Flush::Now)
        c.callMethod(QStringLiteral("so"), QStringLiteral("flush"), 0).op(Op::Pop);
    report(c, reportUrl, QStringLiteral("counter"), number);
    c.op(Op::Stop);
    return oneFrame(c);
}

QByteArray panicMovie() {
    Avm1Code c;
    // s: 2^20 characters; a: 2^11 times s.
    c.push({QStringLiteral("s"), QStringLiteral("x")}).op(Op::SetVariable);
    for (int i = 0; i < 20; ++i) {
        c.push({QStringLiteral("s")}).getVariable(QStringLiteral("s")).getVariable(QStringLiteral("s"));
        c.op(Op::Add2).op(Op::SetVariable);
    }
    c.push({QStringLiteral("a")}).getVariable(QStringLiteral("s")).push({1, QStringLiteral("Array")});
    c.op(Op::NewObject).op(Op::SetVariable);
    for (int i = 0; i < 11; ++i) {
        c.push({QStringLiteral("a")}).getVariable(QStringLiteral("a"));
        c.callMethod(QStringLiteral("a"), QStringLiteral("concat"), 1).op(Op::SetVariable);
    }
    // Joined, a would be 2^31 characters, more than a string may hold: the emulator sizes the
    // result before it copies anything, and panics.
    c.push({QString()}).callMethod(QStringLiteral("a"), QStringLiteral("join"), 1).op(Op::Pop);
    c.op(Op::Stop);
    return oneFrame(c);
}

} // namespace velmora::test
