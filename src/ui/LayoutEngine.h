#pragma once

#include "ui/LayoutForm.h"

#include <QList>

namespace velmora {

// The recorded geometry of a form (Name, ScaleHeight, ScaleWidth) or of a control (every field
// but the scale sizes). A line keeps X1 in Left, Y1 in Top, X2 in Width and Y2 in Height.
struct LayoutRecord {
    QString Name;
    qint32 Index = 0;
    QString FormName;
    qint32 Top = 0;
    qint32 Left = 0;
    qint32 Height = 0;
    qint32 Width = 0;
    qint32 ScaleHeight = 0;
    qint32 ScaleWidth = 0;

    friend bool operator==(const LayoutRecord&, const LayoutRecord&) = default;
};

// Keeps every control of a form at its recorded share of the form's client area. The first
// call for a form name records the client size and each control's geometry; later calls scale
// from those records, which are never refreshed. One instance serves a whole program.
class LayoutEngine {
public:
    // A control whose horizontal position is negative is parked this far to the left of its
    // real position, out of sight.
    static constexpr qint32 ParkOffset = 75000;

    // Never fails: whatever cannot be read or set on a control is skipped.
    void ResizeForm(LayoutForm& form);

    const QList<LayoutRecord>& FormRecords() const { return m_formRecords; }
    const QList<LayoutRecord>& ControlRecords() const { return m_controlRecords; }

private:
    void ResizeControl(LayoutControl& control, LayoutForm& form);
    std::optional<qint32> HeightPercent(LayoutForm& form);
    std::optional<qint32> WidthPercent(LayoutForm& form);
    qsizetype formRecordFor(LayoutForm& form);
    qsizetype FindFormRecord(const LayoutForm& form) const;
    qsizetype AddFormRecord(LayoutForm& form);
    qsizetype FindControlRecord(const LayoutControl& control, const QString& formName) const;
    qsizetype AddControlRecord(LayoutControl& control, const QString& formName);
    static qint32 RemoveParkOffset(qint32 value);

    QList<LayoutRecord> m_formRecords;
    QList<LayoutRecord> m_controlRecords;
};

} // namespace velmora
