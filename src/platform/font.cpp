#include "platform/font.h"

#include <cmath>
#include <cstdlib>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace kx {

namespace {

// Pixels per inch of the screens the board description was laid out for.
constexpr int kDesignPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;

// a * b / c rounded to the nearest integer, halves away from zero: the platform's MulDiv, which
// its font code uses to turn points into pixels and back.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(c)) {
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    }
    return static_cast<int>(quotient);
}

bool Installed(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

void TFont::SetName(const std::string& name) {
    if (name == m_name) {
        return;
    }
    m_name = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == m_height) {
        return;
    }
    m_height = height;
    Changed();
}

int TFont::Size() const {
    return MulDiv(-m_height, kPointsPerInch, kDesignPixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, kDesignPixelsPerInch, kPointsPerInch));
}

void TFont::SetColor(TColor color) {
    if (color == m_color) {
        return;
    }
    m_color = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (other == *this) {
        return;
    }
    m_name = other.m_name;
    m_height = other.m_height;
    m_color = other.m_color;
    m_style = other.m_style;
    m_charset = other.m_charset;
    Changed();
}

bool TFont::operator==(const TFont& other) const {
    return m_name == other.m_name && m_height == other.m_height && m_color == other.m_color &&
           m_style == other.m_style && m_charset == other.m_charset;
}

void TFont::Changed() {
    if (OnChange) {
        OnChange(nullptr);
    }
}

QFont TFont::ToQFont() const {
    QFont font(SubstituteFamily(m_name));
    font.setBold((m_style & fsBold) != 0);
    font.setItalic((m_style & fsItalic) != 0);
    font.setUnderline((m_style & fsUnderline) != 0);
    font.setStrikeOut((m_style & fsStrikeOut) != 0);
    if (m_height < 0) {
        font.setPixelSize(-m_height);
    } else if (m_height > 0) {
        // A positive height is the whole character cell, internal leading included, while Qt sizes
        // the em square; scale by the family's own proportions so the cell comes out as asked.
        font.setPixelSize(100);
        const qreal cell = QFontMetricsF(font).height();
        const int em = cell > 0 ? static_cast<int>(std::lround(m_height * 100.0 / cell)) : m_height;
        font.setPixelSize(em > 0 ? em : 1);
    } else {
        // Height 0 asks for the default size, which on the original desktop was 8 points.
        font.setPixelSize(MulDiv(8, kDesignPixelsPerInch, kPointsPerInch));
    }
    return font;
}

QString TFont::SubstituteFamily(const std::string& windowsName) {
    const QString name = QString::fromStdString(windowsName);
    struct Substitute {
        const char* windows;
        const char* preferred;
        const char* second;
    };
    // Liberation Sans has Arial's metrics and is the nearest to the old bitmap sans; DejaVu Sans is
    // the wide humanist face closest to Tahoma and Verdana.
    static constexpr Substitute kSubstitutes[] = {
        {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"},
        {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"},
        {"Arial", "Liberation Sans", "DejaVu Sans"},
        {"Tahoma", "DejaVu Sans", "Liberation Sans"},
        {"Verdana", "DejaVu Sans", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif", "DejaVu Serif"},
        {"Courier New", "Liberation Mono", "DejaVu Sans Mono"},
    };
    for (const Substitute& s : kSubstitutes) {
        if (name.compare(QLatin1String(s.windows), Qt::CaseInsensitive) != 0) {
            continue;
        }
        for (const char* candidate : {s.preferred, s.second}) {
            if (Installed(QLatin1String(candidate))) {
                return QLatin1String(candidate);
            }
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }
    if (!name.isEmpty() && Installed(name)) {
        return name;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace kx
