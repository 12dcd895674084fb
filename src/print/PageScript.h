#pragma once

#include "support/Failure.h"

#include <QString>
#include <QStringList>

#include <functional>

// The page script "_$$_TEMP.TMP": one token a line, CR LF line ends, texts in GBK.
// Positions in the file are twips from the top-left corner of an A4 page; the writer
// operations take centimetres and multiply by 567.
//
// The file lives in a private per-user folder (mode 0700) and is never opened through
// a symbolic link, so a link planted under the fixed name cannot be truncated.
class PageScript
{
public:
    static constexpr double TwipsPerCm = 567.0;
    static constexpr double PageWidth = 11907.0; // twips
    static constexpr double PageHeight = 16839.9; // twips

    // Width of `text` in twips at full scale in the font the writer is about to write.
    using TextWidthFunction =
        std::function<double(const QString &text, const QString &fontName, int fontSize, bool bold)>;
    // Shows a notice (title, text) to the user; used for a centred text that is dropped.
    using NoticeFunction = std::function<void(const QString &title, const QString &text)>;

    static QString fileName(); // "_$$_TEMP.TMP"
    // The per-user data folder + "/print".
    static QString defaultFolder();

    explicit PageScript(QString folder = defaultFolder());

    QString folder() const { return m_folder; }
    QString path() const;

    // Defaults to scriptTextWidth() (ScriptRenderer.h).
    void setTextWidth(TextWidthFunction f) { m_textWidth = std::move(f); }
    void setNotice(NoticeFunction f) { m_notice = std::move(f); }

    Status AppendLine(const QString &text) const;
    // Empties the file, creating it (and the private folder) when missing.
    Status ClearScript() const;
    // Removes the file; a missing file is not a failure. A link is removed, not followed.
    Status DeleteScript() const;

    Status StartPage(const QString &leftTitle, const QString &rightTitle) const;
    Status PrintInLeft(double x, double y, const QString &text, const QString &fontName, int fontSize, bool bold) const;
    // x is where the text ends.
    Status PrintInRight(double x, double y, const QString &text, const QString &fontName, int fontSize,
                        bool bold) const;
    // Centres the text on x. A text whose left edge would fall left of the page is not
    // written: the notice "Error in coords!!!!" (title "PrintInCen") is given instead
    // and the result is still success, so the caller goes on writing.
    Status PrintInCen(double x, double y, const QString &text, const QString &fontName, int fontSize, bool bold) const;
    Status PrintBox(double x1, double y1, double x2, double y2) const;

    // All lines in one open of the file; each line gets CR LF.
    Status appendLines(const QStringList &lines) const;

private:
    QStringList textLines(const QString &command, double x, double y, const QString &text, const QString &fontName,
                          int fontSize, bool bold) const;

    QString m_folder;
    TextWidthFunction m_textWidth;
    NoticeFunction m_notice;
};

// A number as the script writes it: general form, up to seven significant digits, no
// group separator, the decimal separator of QLocale() ("." or ",").
QString scriptNumber(double value);

// Reads a script number: every "," becomes "."; then the longest leading decimal
// number (blanks skipped, optional sign, digits, optional fraction); none reads as 0.
double ParseNumber(const QString &line);

// Text to and from the script's bytes. A character GBK lacks becomes "?".
QByteArray encodeScriptText(const QString &text);
QString decodeScriptText(const QByteArray &bytes);

// Creates `folder` with mode 0700 when missing; refuses a link, a non-folder or a folder
// of another user; tightens our own folder to 0700.
Status ensurePrivateFolder(const QString &folder);
