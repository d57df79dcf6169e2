#include "shortcut/DesktopEntry.h"

namespace velmora::DesktopEntry {

QString stringValue(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString execArgument(const QString& argument) {
    // Inside double quotes only these four take a backslash; '%' is doubled because a single
    // one starts a field code. The string escapes of the value come last, as readers undo them
    // first.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return stringValue(quoted);
}

QString launcher(const QString& name, const QString& program, const QString& icon) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Icon=%3\n"
                          "Terminal=false\n"
                          "Categories=Game;\n")
        .arg(stringValue(name), execArgument(program), stringValue(icon));
}

} // namespace velmora::DesktopEntry
