#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The machine's texts and the toolkit's, one into the other: the machine writes its cells, windows and
// titles in Latin-1 and its message and output in UTF-16, as the toolkit's strings hold them.
namespace rovanta {

inline QString latinText(std::string_view latin)
{
    return QString::fromLatin1(latin.data(), static_cast<qsizetype>(latin.size()));
}

inline QStringView textView(std::u16string_view text)
{
    return {text.data(), static_cast<qsizetype>(text.size())};
}

inline std::u16string_view textView(const QString& text)
{
    return {QStringView(text).utf16(), static_cast<std::size_t>(text.size())};
}

} // namespace rovanta
