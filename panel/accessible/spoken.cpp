#include "panel/accessible/spoken.h"

#include "panel/accessible/texts.h"

#include <QStringList>

namespace rovanta::spoken {

namespace {

// Encrypt reads out this many cipher letters at most; the operator copies the rest.
constexpr std::size_t kLettersReadOut = 20;

QString letters(std::size_t count)
{
    return count == 1 ? QStringLiteral("1 letter") : QStringLiteral("%1 letters").arg(count);
}

QString numbers(const MachineState& state, std::span<const std::uint8_t> path)
{
    QStringList written;
    for (const std::uint8_t number : path)
        written.append(latinText(cellText(state.alphabet(), number)));
    return written.join(QStringLiteral(", "));
}

} // namespace

QString cipherLetters(std::u16string_view output, std::size_t from)
{
    return from < output.size() ? toolkitView(output.substr(from)).toString() : QString();
}

QString enciphered(std::u16string_view output, std::size_t from)
{
    const std::size_t count = from < output.size() ? output.size() - from : 0;
    if (count == 0)
        return QStringLiteral("Nothing enciphered: the message is empty");
    const QString text = toolkitView(output.substr(from, kLettersReadOut)).toString();
    return QStringLiteral("%1 enciphered: %2%3")
        .arg(letters(count), text, count > kLettersReadOut ? QStringLiteral(" and more") : QString());
}

QString messageEmptied()
{
    return QStringLiteral("Message emptied");
}

QString windowPosition(const MachineState& state, int window)
{
    return QStringLiteral("Window %1 at %2").arg(window).arg(latinText(state.windowText(window)));
}

QString keyOf(const MachineState& state, int selector)
{
    return QString::fromStdString(state.selectorCaption(selector));
}

QString keysByDate(const MachineState& state)
{
    QStringList keys;
    for (int selector = 1; selector <= kSelectors; ++selector)
        keys.append(keyOf(state, selector));
    return keys.join(QStringLiteral(", "));
}

QString copied(std::size_t count)
{
    return count == 0 ? QStringLiteral("Clipboard emptied: the output is empty")
                      : QStringLiteral("%1 copied to the clipboard").arg(letters(count));
}

QString reset()
{
    return QStringLiteral("Machine reset; typing goes to the message box");
}

QString litPath(const MachineState& state)
{
    const std::span<const std::uint8_t> path = state.litPath();
    if (path.size() != MachineState::kPathNumbers)
        return QStringLiteral("No letter lit");
    // The letter, five stages out to the reflector, the turn there (which keeps the number), three stages
    // back and the entry stage that gives the cipher letter.
    const auto letter = [](std::uint8_t number) { return QString(QChar(u'@' + number)); };
    return QStringLiteral("%1: out %2; back %3; %4")
        .arg(letter(path.front()), numbers(state, path.subspan(1, 5)), numbers(state, path.subspan(7, 3)),
             letter(path.back()));
}

} // namespace rovanta::spoken
