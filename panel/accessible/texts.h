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

// The machine's UTF-16 text as the toolkit reads it, without a copy.
inline QStringView toolkitView(std::u16string_view text)
{
    return {text.data(), static_cast<qsizetype>(text.size())};
}

// The toolkit's text as the machine reads it, without a copy.
inline std::u16string_view machineView(const QString& text)
{
    return {QStringView(text).utf16(), static_cast<std::size_t>(text.size())};
}

} // namespace rovanta
