#pragma once

#include <cstdint>
#include <string>

#include <QFont>

#include "platform/types.h"

namespace kx {

enum TFontStyleBit : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

constexpr std::uint8_t DEFAULT_CHARSET = 1;

// A font as the board description names it. Height is in pixels (negative:
// character height without internal leading, the usual form); Size is in
// points at 96 pixels per inch. Setting one sets the other.
class TFont {
public:
    const std::string& Name() const { return m_name; }
    void SetName(const std::string& name);
    int Height() const { return m_height; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);
    std::uint8_t Charset() const { return m_charset; }
    void SetCharset(std::uint8_t charset) { m_charset = charset; }

    void Assign(const TFont& other);
    bool operator==(const TFont& other) const;

    // Raised after any change.
    TNotifyEvent OnChange;

    // The closest font this system has: Windows face names such as
    // "MS Sans Serif", "Tahoma" or "Verdana" map to an installed sans-serif
    // family; the pixel size follows Height.
    QFont ToQFont() const;
    // The family that stands in for a Windows face name on this system.
    static QString SubstituteFamily(const std::string& windowsName);

private:
    void Changed();

    std::string m_name = "MS Sans Serif";
    int m_height = -11;
    TColor m_color = clWindowText;
    TFontStyles m_style = 0;
    std::uint8_t m_charset = DEFAULT_CHARSET;
};

}  // namespace kx
