#include "MovieWriter.h"

#include "SwfBits.h"

#include <QPoint>
#include <QRect>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace velmora::swf {

namespace {

enum Tag : quint16 {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    DoAction = 12,
    DefineSound = 14,
    StartSound = 15,
    PlaceObject2 = 26,
    DefineSprite = 39,
    ExportAssets = 56,
    FileAttributes = 69,
};

int twips(double pixels) {
    return int(std::lround(pixels * 20.0));
}

QPoint twips(QPointF pixels) {
    return {twips(pixels.x()), twips(pixels.y())};
}

QByteArray rect(const QRect& r) {
    BitWriter bits;
    const int n = BitWriter::signedBits({r.left(), r.right(), r.top(), r.bottom()});
    bits.writeUnsigned(quint32(n), 5);
    for (int v : {r.left(), r.right(), r.top(), r.bottom()})
        bits.writeSigned(v, n);
    return bits.bytes();
}

void putRgb(QByteArray& out, Rgb c) {
    putU8(out, c.r);
    putU8(out, c.g);
    putU8(out, c.b);
}

// The shape records of one closed outline filled with fill style 1, with its bounds.
class Outline {
public:
    explicit Outline(QPoint start)
        : m_pen(start)
        , m_box(start, start) {
        m_bits.writeUnsigned(1, 4); // fill style index bits
        m_bits.writeUnsigned(0, 4); // line style index bits
        // Style change record: move to the start and select fill style 1.
        m_bits.writeUnsigned(0b000101, 6);
        const int n = BitWriter::signedBits({start.x(), start.y()});
        m_bits.writeUnsigned(quint32(n), 5);
        m_bits.writeSigned(start.x(), n);
        m_bits.writeSigned(start.y(), n);
        m_bits.writeUnsigned(1, 1);
    }

    void lineTo(QPoint to) {
        const QPoint d = to - m_pen;
        const int n = std::max(2, BitWriter::signedBits({d.x(), d.y()}));
        m_bits.writeUnsigned(0b11, 2); // edge, straight
        m_bits.writeUnsigned(quint32(n - 2), 4);
        m_bits.writeUnsigned(1, 1); // general line: both deltas follow
        m_bits.writeSigned(d.x(), n);
        m_bits.writeSigned(d.y(), n);
        advance(to);
    }

    void curveTo(QPoint control, QPoint anchor) {
        const QPoint c = control - m_pen;
        const QPoint a = anchor - control;
        const int n = std::max(2, BitWriter::signedBits({c.x(), c.y(), a.x(), a.y()}));
        m_bits.writeUnsigned(0b10, 2); // edge, curved
        m_bits.writeUnsigned(quint32(n - 2), 4);
        for (int v : {c.x(), c.y(), a.x(), a.y()})
            m_bits.writeSigned(v, n);
        m_box |= QRect(control, control);
        advance(anchor);
    }

    QByteArray records() {
        m_bits.writeUnsigned(0, 6); // end of shape
        return m_bits.bytes();
    }

    QByteArray bounds() const { return rect(m_box); }

private:
    void advance(QPoint to) {
        m_pen = to;
        m_box |= QRect(to, to);
    }

    BitWriter m_bits;
    QPoint m_pen;
    QRect m_box;
};

} // namespace

MovieWriter::MovieWriter(int width, int height, double frameRate, int version)
    : m_width(width)
    , m_height(height)
    , m_frameRate(frameRate)
    , m_version(version) {
    QByteArray flags;
    putU32(flags, 0x01); // may use the network; no ActionScript 3
    addTag(FileAttributes, flags);
}

void MovieWriter::addTag(quint16 code, const QByteArray& body) {
    addTag(m_tags, code, body);
}

void MovieWriter::addTag(QByteArray& tags, quint16 code, const QByteArray& body) {
    if (body.size() < 0x3f) {
        putU16(tags, quint16(code << 6 | body.size()));
    } else {
        putU16(tags, quint16(code << 6 | 0x3f));
        putU32(tags, quint32(body.size()));
    }
    tags.append(body);
}

void MovieWriter::setBackground(Rgb colour) {
    QByteArray body;
    putRgb(body, colour);
    addTag(SetBackgroundColor, body);
}

quint16 MovieWriter::defineShape(const QByteArray& outline, const QByteArray& bounds, Rgb fill) {
    const quint16 id = m_nextId++;
    QByteArray body;
    putU16(body, id);
    body.append(bounds);
    putU8(body, 1);    // one fill style:
    putU8(body, 0x00); // solid
    putRgb(body, fill);
    putU8(body, 0); // no line styles
    body.append(outline);
    addTag(DefineShape, body);
    return id;
}

quint16 MovieWriter::definePolygon(const QList<QPointF>& points, Rgb fill) {
    if (points.size() < 3)
        throw std::invalid_argument("a polygon needs three points");
    Outline outline(twips(points.front()));
    for (qsizetype i = 1; i < points.size(); ++i)
        outline.lineTo(twips(points[i]));
    outline.lineTo(twips(points.front()));
    const QByteArray records = outline.records();
    return defineShape(records, outline.bounds(), fill);
}

quint16 MovieWriter::defineCircle(double radius, Rgb fill) {
    // Eight quadratic arcs; each control point lies where the tangents of its two anchors meet.
    constexpr int kArcs = 8;
    constexpr double kStep = 2 * std::numbers::pi / kArcs;
    const double controlRadius = radius / std::cos(kStep / 2);
    auto at = [](double r, double angle) {
        return twips(QPointF(r * std::cos(angle), r * std::sin(angle)));
    };
    Outline outline(at(radius, 0));
    for (int i = 0; i < kArcs; ++i)
        outline.curveTo(at(controlRadius, (i + 0.5) * kStep), at(radius, (i + 1) * kStep));
    const QByteArray records = outline.records();
    return defineShape(records, outline.bounds(), fill);
}

quint16 MovieWriter::defineClip(quint16 shapeId) {
    const quint16 id = m_nextId++;
    QByteArray place;
    putU8(place, 0x02); // has character; no matrix: at the clip's origin
    putU16(place, 1);   // depth
    putU16(place, shapeId);
    QByteArray body;
    putU16(body, id);
    putU16(body, 1); // frames
    addTag(body, PlaceObject2, place);
    addTag(body, ShowFrame, {});
    addTag(body, End, {});
    addTag(DefineSprite, body);
    return id;
}

quint16 MovieWriter::defineSound(const QList<qint16>& samples) {
    const quint16 id = m_nextId++;
    QByteArray body;
    putU16(body, id);
    // Format 3 (uncompressed, little-endian), rate 2 (22 kHz), 16-bit, mono.
    putU8(body, 3 << 4 | 2 << 2 | 1 << 1 | 0);
    putU32(body, quint32(samples.size()));
    for (qint16 s : samples)
        putU16(body, quint16(s));
    addTag(DefineSound, body);
    return id;
}

void MovieWriter::exportAsset(quint16 id, const QString& name) {
    QByteArray body;
    putU16(body, 1);
    putU16(body, id);
    putString(body, name);
    addTag(ExportAssets, body);
}

void MovieWriter::place(quint16 id, quint16 depth, QPointF at, const QString& name) {
    QByteArray body;
    putU8(body, (name.isEmpty() ? 0 : 0x20) | 0x04 | 0x02); // has name?, has matrix, has character
    putU16(body, depth);
    putU16(body, id);
    const QPoint t = twips(at);
    BitWriter matrix;
    matrix.writeUnsigned(0, 1); // no scale
    matrix.writeUnsigned(0, 1); // no rotation
    const int n = BitWriter::signedBits({t.x(), t.y()});
    matrix.writeUnsigned(quint32(n), 5);
    matrix.writeSigned(t.x(), n);
    matrix.writeSigned(t.y(), n);
    body.append(matrix.bytes());
    if (!name.isEmpty())
        putString(body, name);
    addTag(PlaceObject2, body);
}

void MovieWriter::startSound(quint16 id) {
    QByteArray body;
    putU16(body, id);
    putU8(body, 0); // no envelope, loops or in/out points
    addTag(StartSound, body);
}

void MovieWriter::doAction(const Avm1Code& code) {
    QByteArray body = code.bytes();
    putU8(body, 0); // end of actions
    addTag(DoAction, body);
}

void MovieWriter::showFrame() {
    addTag(ShowFrame, {});
    ++m_frames;
}

QByteArray MovieWriter::finish() const {
    QByteArray body;
    body.append(rect(QRect(QPoint(0, 0), QPoint(twips(m_width), twips(m_height)))));
    putU16(body, quint16(std::lround(m_frameRate * 256))); // 8.8 fixed point
    putU16(body, m_frames);
    body.append(m_tags);
    putU16(body, End << 6);

    QByteArray file("FWS");
    putU8(file, quint8(m_version));
    putU32(file, quint32(file.size() + 4 + body.size()));
    file.append(body);
    return file;
}

} // namespace velmora::swf
