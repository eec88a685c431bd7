#pragma once

#include "generate/Html_converter.h"

#include <QString>

#include <deque>
#include <functional>

class QWidget;

// One file or font dialog as a window holds it: it keeps the values of its
// last use, and a cancelled dialog leaves them as they were, so callers may
// read them without asking whether the user confirmed.
class CommonDialog final
{
public:
    enum class Kind { Open, Save, Font };
    // The kinds of file asked for. A file dialog starts in the folder where a
    // file of its kind was last chosen in this run, at its own last file when
    // that is there; before any, at its own file, else in the folder of a
    // page read from a file, else in the home folder.
    enum class Files { Pages, Projects, Reports };

    // What a scripted answer gives instead of the real dialog (tests).
    struct Answer
    {
        bool accepted = true;
        QString file;
        FontSpec font;
        qint32 color = 0;

        static Answer cancelled() { return Answer { false, {}, {}, 0 }; }
        static Answer chosen_file(const QString &path) { return Answer { true, path, {}, 0 }; }
        static Answer chosen_font(const FontSpec &font, qint32 color) { return Answer { true, {}, font, color }; }
    };
    // Queues answers for the next dialogs shown anywhere; each is given, with
    // the dialog that asks, to the test. While answers wait, no window opens.
    static void script(Answer answer);
    static void clear_script();
    // The dialogs asked since the last clear_script, for tests to check.
    static const std::deque<Kind> &asked();
    // The folder the last file dialog asked opened in, and the path it
    // started at: that folder, or a file in it.
    static const QString &last_folder();
    static const QString &last_start();

    explicit CommonDialog(QWidget *owner = nullptr, Files files = Files::Pages);

    // "label|patterns|label|patterns...", patterns separated by ";".
    void set_Filter(const QString &filter) { m_filter = filter; }
    const QString &Filter() const { return m_filter; }
    // 2 asks before replacing an existing file (save dialog); the font
    // dialog always offers the effects.
    void set_Flags(qint32 flags) { m_flags = flags; }
    void set_Min(int points) { m_min_size = points; }
    // The extension (without its dot) a saved file's name gets when the
    // typed name has none.
    void set_DefaultExt(const QString &extension) { m_default_ext = extension; }
    void set_Max(int points) { m_max_size = points; }

    // True when the user confirmed a file (callers that must tell a cancel
    // from a choice ask this; the file name is kept either way).
    bool ShowOpen();
    bool ShowSave();
    void ShowFont();

    const QString &FileName() const { return m_file; }
    void set_FileName(const QString &file) { m_file = file; }
    const FontSpec &Font() const { return m_font; }
    void set_Font(const FontSpec &font) { m_font = font; }
    qint32 Color() const { return m_color; } // 0x00BBGGRR
    void set_Color(qint32 color) { m_color = color; }

    // The filter in the form Qt's file dialogs take.
    static QString qt_filter(const QString &filter);

private:
    bool take_script(Kind kind, bool *accepted = nullptr);
    // Where a file dialog starts (see Files).
    QString start_path() const;
    // Keeps a confirmed file and its folder for the next dialogs of its kind.
    void take_file(const QString &file);
    // The window the dialog opens over.
    QWidget *parent_window() const;
    // `name` with the default extension when it has no extension of its own.
    QString with_default_ext(const QString &name) const;

    QWidget *m_owner;
    Files m_files;
    QString m_filter;
    QString m_default_ext;
    qint32 m_flags = 0;
    int m_min_size = 8;
    int m_max_size = 24;
    QString m_file;
    // Before any choice the font is a usable one, not an empty name.
    FontSpec m_font { QStringLiteral("Arial"), 10 };
    qint32 m_color = 0;
};
