#pragma once

#include "Avm1Code.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

namespace velmora::swf {

struct Rgb {
    quint8 r = 0, g = 0, b = 0;
};

// Writes an uncompressed Flash movie ("FWS") tag by tag. Positions and sizes are in pixels;
// shapes are drawn around their own origin, so that a placed shape's x/y is its centre and it
// turns about it.
class MovieWriter {
public:
    // The sample rate of defineSound(): 16-bit mono samples at 22050 Hz.
    static constexpr int kSoundRate = 22050;

    MovieWriter(int width, int height, double frameRate, int version = 8);

    void setBackground(Rgb colour);
    // A filled polygon through points (at least three), closed back to the first.
    quint16 definePolygon(const QList<QPointF>& points, Rgb fill);
    quint16 defineCircle(double radius, Rgb fill);
    // A one-frame movie clip showing the shape: unlike a shape, a placed clip is an object that
    // scripts can reach by its instance name and move.
    quint16 defineClip(quint16 shapeId);
    quint16 defineSound(const QList<qint16>& samples);
    // Makes a sound reachable from scripts as Sound.attachSound(name).
    void exportAsset(quint16 id, const QString& name);

    // Places a character on the current frame; a clip under an instance name that scripts can
    // use (none when empty).
    void place(quint16 id, quint16 depth, QPointF at, const QString& name);
    void startSound(quint16 id);
    void doAction(const Avm1Code& code);
    void showFrame();

    // The whole file: header, the tags so far, and the end tag.
    QByteArray finish() const;

private:
    void addTag(quint16 code, const QByteArray& body);
    static void addTag(QByteArray& tags, quint16 code, const QByteArray& body);
    quint16 defineShape(const QByteArray& outline, const QByteArray& bounds, Rgb fill);

    int m_width;
    int m_height;
    double m_frameRate;
    int m_version;
    QByteArray m_tags;
    quint16 m_frames = 0;
    quint16 m_nextId = 1;
};

} // namespace velmora::swf
