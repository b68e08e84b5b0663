#include "app/StartUp.h"

namespace {
// Qt reads its own options with one dash or two.
QString QtOptionName(const QString& argument)
{
    return argument.startsWith(QLatin1String("--")) ? argument.mid(1) : argument;
}
} // namespace

bool AsksForTextOnly(const QStringList& arguments)
{
    static const QStringList textOnly = {"-h", "--help", "-?", "--help-all", "-v", "--version"};
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i)
        if (textOnly.contains(arguments[i]))
            return true;
    return false;
}

bool DisplayAvailable(const QStringList& arguments, const TEnvironment& environment)
{
    QString platforms = QString::fromLocal8Bit(environment("QT_QPA_PLATFORM"));
    bool displayOption = false;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QString name = QtOptionName(arguments[i]);
        if (name == QLatin1String("-platform"))
            platforms = arguments[i + 1];
        else if (name == QLatin1String("-display"))
            displayOption = true;
    }
    const bool x11 = displayOption || !environment("DISPLAY").isEmpty();
    const bool wayland = !environment("WAYLAND_DISPLAY").isEmpty();
    if (platforms.trimmed().isEmpty())
        return x11 || wayland;
    // "name:option=value;name2": Qt tries each in turn until one starts.
    for (const QString& entry : platforms.split(QLatin1Char(';'))) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (name == QLatin1String("xcb")) {
            if (x11)
                return true;
        } else if (name.startsWith(QLatin1String("wayland"))) {
            if (wayland)
                return true;
        } else if (!name.isEmpty()) {
            return true; // offscreen, minimal, vnc, eglfs, ...: no display server to reach
        }
    }
    return false;
}

QString NoDisplayMessage()
{
    return QStringLiteral("kestrum: cannot open the window without a display (DISPLAY or WAYLAND_DISPLAY is "
                          "not set)");
}
