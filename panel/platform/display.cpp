#include "panel/platform/display.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace rovanta {

namespace {

// What the toolkit says while it opens the display is held back: when the display opens, it is passed on as
// it came; when it cannot, the platform's reason is given in the one line the operator sees.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

QtMessageHandler g_passOn = nullptr;
std::vector<HeldMessage> g_held;

// The platform plugin's first complaint names the cause ("could not connect to display :1"); the fatal
// message after it only says that no plugin could be loaded.
QString openingFailure(const QString& fatal)
{
    for (const HeldMessage& held : g_held) {
        if (held.category.starts_with("qt.qpa"))
            return held.text;
    }
    return fatal.section(QLatin1Char('\n'), 0, 0);
}

void holdOpeningMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_held.push_back({type, context.category ? context.category : "", text});
        return;
    }
    const QString reason = openingFailure(text);
    const QString line = QCoreApplication::applicationName() + QStringLiteral(": cannot open its window: ") +
                         reason.trimmed() + QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    // The toolkit would abort after this message; nothing has been built yet that needs to end.
    std::_Exit(EXIT_FAILURE);
}

void passOnHeldMessages()
{
    for (const HeldMessage& held : g_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        g_passOn(held.type, context, held.text);
    }
    g_held.clear();
}

} // namespace

std::unique_ptr<QApplication> openDisplay(int& argc, char** argv)
{
    g_passOn = qInstallMessageHandler(holdOpeningMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_passOn);
    passOnHeldMessages();
    return application;
}

} // namespace rovanta
