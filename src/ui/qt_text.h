#pragma once

#include <QString>
#include <string>

namespace velmor::ui {

// The engine's UTF-16 text and Qt's share one encoding, so no conversion goes through UTF-8.
inline QString ToQString(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace velmor::ui
