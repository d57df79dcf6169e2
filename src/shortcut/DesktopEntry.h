#pragma once

#include <QString>

namespace velmora::DesktopEntry {

// The launcher file's text: an application entry that starts program with no arguments, shows
// name and icon, and opens no terminal.
QString launcher(const QString& name, const QString& program, const QString& icon);

// One argument of an Exec key, quoted so that any path reaches the program unchanged: space,
// quotes, '$', '%' and backslashes included.
QString execArgument(const QString& argument);

// A value of type string: backslashes and control characters escaped, so that no path can
// end the line or start a key of its own.
QString stringValue(const QString& value);

} // namespace velmora::DesktopEntry
