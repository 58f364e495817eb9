// SPDX-License-Identifier: MIT
// The RTF reader and writer of the rich-text box. Bytes that start an RTF document are read
// into a box; other bytes become the box's text as UTF-16, so the writer meets every
// character. The box is written as RTF and read again: what the reader accepted must come
// back with the same text, character formats and paragraph formats. A refusal is fine; a
// difference, or a refusal of the box's own RTF, is a finding.

#include "FuzzSupport.h"

#include "automation/RuntimeError.h"
#include "richtext/RichTextBox.h"

#include <algorithm>
#include <cstring>

using namespace vxRecInfo;

namespace {

// Control characters as \xHH, so a message shows every character.
QString printable(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    return out;
}

QString describe(const CharFormat& f)
{
    return QStringLiteral("font \"%1\" size %2 colour %3 b%4 i%5 s%6 u%7")
        .arg(printable(f.font))
        .arg(f.size)
        .arg(f.color)
        .arg(int(f.bold))
        .arg(int(f.italic))
        .arg(int(f.strike))
        .arg(int(f.underline));
}

QString describe(const QList<Paragraph>& paragraphs, qsizetype p)
{
    if (p >= paragraphs.size())
        return QStringLiteral("none");
    QStringList tabs;
    for (const std::int32_t tab : paragraphs[p].format.tabs)
        tabs << QString::number(tab);
    return QStringLiteral("%1+%2 align %3 tabs %4")
        .arg(paragraphs[p].start)
        .arg(paragraphs[p].length)
        .arg(paragraphs[p].format.alignment)
        .arg(tabs.join(QLatin1Char(',')));
}

[[noreturn]] void finding(const QString& what, const QString& before, const QString& after, const QString& rtf)
{
    fuzz::finding(QStringLiteral("rtf_reader: %1 changed on the way through RTF\n  read:    %2\n  re-read: %3\n"
                                 "  RTF: %4")
                      .arg(what, before, after, printable(rtf.left(2000))));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::initialise();
    const QByteArray input = fuzz::bytes(data, size);
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Arial"), 10);
    if (input.startsWith("{\\rtf")) {
        try {
            box.setTextRTF(QString::fromLatin1(input));
        } catch (const RuntimeError&) {
            return 0; // refused with a reason
        }
    } else {
        QString text(input.size() / 2, Qt::Uninitialized);
        std::memcpy(text.data(), input.constData(), std::size_t(text.size()) * sizeof(QChar));
        box.setText(text);
    }

    const QString rtf = box.TextRTF();
    RichTextBox again;
    again.setDefaultFont(box.defaultFontName(), box.defaultFontSize());
    try {
        again.setTextRTF(rtf);
    } catch (const RuntimeError& e) {
        finding(QStringLiteral("the box's own RTF is refused: ") + e.description(), {}, {}, rtf);
    }

    if (again.Text() != box.Text())
        finding(QStringLiteral("the text"), printable(box.Text().left(200)), printable(again.Text().left(200)), rtf);
    for (qsizetype i = 0; i < box.Text().size(); ++i) {
        if (!(again.formatAt(i) == box.formatAt(i)))
            finding(QStringLiteral("the format of position %1").arg(i), describe(box.formatAt(i)),
                    describe(again.formatAt(i)), rtf);
    }
    const QList<Paragraph> paragraphs = box.paragraphs();
    const QList<Paragraph> paragraphsAgain = again.paragraphs();
    for (qsizetype p = 0; p < std::max(paragraphs.size(), paragraphsAgain.size()); ++p) {
        if (describe(paragraphs, p) != describe(paragraphsAgain, p))
            finding(QStringLiteral("paragraph %1").arg(p), describe(paragraphs, p), describe(paragraphsAgain, p), rtf);
    }
    return 0;
}
