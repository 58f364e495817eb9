// SPDX-License-Identifier: MIT
#pragma once
// The rich-text box: plain text with character formats per position and paragraph formats
// (alignment, tab stops) per paragraph, edited through a selection as the report code does.
// Positions and lengths count UTF-16 code units; carriage return and line feed are one
// position each. A paragraph ends after CR LF (or a lone CR or LF).

#include "CharAttributes.h"

#include "automation/Variant.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>

class QPaintDevice;
#include <vector>

namespace vxRecInfo {

std::size_t qHash(const CharFormat& format, std::size_t seed = 0) noexcept;

// Alignment values of the box: left, right, centre.
namespace Alignment {
inline constexpr std::int16_t Left = 0;
inline constexpr std::int16_t Right = 1;
inline constexpr std::int16_t Center = 2;
} // namespace Alignment

struct ParagraphFormat {
    std::int16_t alignment = Alignment::Left;
    QList<std::int32_t> tabs; // tab stops in twips

    friend bool operator==(const ParagraphFormat&, const ParagraphFormat&) = default;
};

// A stretch of text of one character format.
struct FormatRange {
    qsizetype start;
    qsizetype length;
    CharFormat format;
};

struct Paragraph {
    qsizetype start;
    qsizetype length; // the paragraph's end characters included
    ParagraphFormat format;
};

class RichTextBox : public QObject
{
    Q_OBJECT

public:
    // What the box holds at most, and what its RTF may declare: a font name no longer than RTF
    // readers take, a size in whole half points, 32 tab stops a paragraph, 65535 different
    // character formats (so no more fonts or colours than that either).
    static constexpr qsizetype MaxFontNameLength = 255;
    static constexpr float MaxFontSize = 1638;
    static constexpr std::int16_t MaxTabs = 32;
    static constexpr std::size_t MaxFormats = 0xFFFF;

    explicit RichTextBox(QObject* parent = nullptr);

    // Plain text; assigning it drops every format and puts the caret at the start.
    const QString& Text() const { return m_text; }
    void setText(const QString& text);

    // The text with its formats as an RTF document. Assigning text that starts with "{\rtf"
    // reads it (error 380 when it is no RTF); anything else is taken as plain text.
    QString TextRTF() const;
    void setTextRTF(const QString& rtf);

    std::int32_t SelStart() const { return std::int32_t(m_selStart); }
    void setSelStart(std::int32_t start);   // clamped to the text; error 380 when negative
    std::int32_t SelLength() const { return std::int32_t(m_selLength); }
    void setSelLength(std::int32_t length); // clamped to the text; error 380 when negative

    // Attributes of the selection. A getter answers Null when the selected text mixes values;
    // a setter formats the selected characters (nothing when the selection is empty).
    Variant SelFontName() const;
    void setSelFontName(const QString& name);
    Variant SelColor() const;
    void setSelColor(std::int32_t color);
    Variant SelFontSize() const;
    void setSelFontSize(float points);
    Variant SelBold() const;
    void setSelBold(bool on);
    Variant SelItalic() const;
    void setSelItalic(bool on);
    Variant SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    Variant SelUnderline() const;
    void setSelUnderline(bool on);

    // Paragraph attributes of every paragraph the selection touches.
    Variant SelAlignment() const;
    void setSelAlignment(std::int16_t alignment);
    std::int16_t SelTabCount() const;
    void setSelTabCount(std::int16_t count);
    std::int32_t SelTabs(std::int16_t index) const;
    void setSelTabs(std::int16_t index, std::int32_t twips);

    // The font of text without a font or size of its own.
    const QString& defaultFontName() const { return m_defaultFontName; }
    float defaultFontSize() const { return m_defaultFontSize; }
    void setDefaultFont(const QString& name, float points);

    // The device and line width (twips) the box lays its lines out for (EM_SETTARGETDEVICE):
    // after the print engine binds it to the printer, views break lines where the printer will.
    // Null: the screen.
    void setTargetDevice(QPaintDevice* device, std::int32_t lineWidthTwips);
    QPaintDevice* targetDevice() const { return m_targetDevice; }
    std::int32_t targetLineWidth() const { return m_targetLineWidth; }

    // The model, for writers and views. Formats are kept once each: equal formats, equal index.
    const CharFormat& formatAt(qsizetype position) const;
    std::uint16_t formatIndexAt(qsizetype position) const { return m_formatOf.at(std::size_t(position)); }
    const std::vector<CharFormat>& formats() const { return m_formats; }
    QList<FormatRange> formatRanges(qsizetype start, qsizetype length) const;
    QList<Paragraph> paragraphs() const;

    // Replaces everything at once (the RTF reader's way in). Error 7 for more than MaxFormats
    // different formats; the box is then unchanged.
    void setContent(const QString& text, const std::vector<CharFormat>& formats,
                    const QList<ParagraphFormat>& paragraphFormats);

Q_SIGNALS:
    // Text or formats changed.
    void changed();

private:
    void clearFormats();
    std::uint16_t intern(const CharFormat& format);
    template <class Change>
    void formatSelection(Change change);
    std::pair<int, int> selectedParagraphs() const;
    int paragraphOf(qsizetype position) const;
    void splitParagraphs();
    template <class Get>
    Variant uniform(Get get) const;

    QString m_text;
    std::vector<std::uint16_t> m_formatOf; // per position, an index into m_formats
    std::vector<CharFormat> m_formats;     // element 0 is the default format
    QHash<CharFormat, std::uint16_t> m_formatIndex; // the other way round
    std::vector<qsizetype> m_paragraphStarts;
    QList<ParagraphFormat> m_paragraphFormats;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
    QPaintDevice* m_targetDevice = nullptr;
    std::int32_t m_targetLineWidth = 0;
    QString m_defaultFontName = QStringLiteral("Arial");
    float m_defaultFontSize = 10;
};

} // namespace vxRecInfo
