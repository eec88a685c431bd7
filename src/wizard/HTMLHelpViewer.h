#pragma once

#include <QPointer>
#include <QString>
#include <QtGlobal>

class QWidget;

// The program's help viewer. It shows a help collection in a window of its
// own: not owned by any wizard page, so it stays open while the wizard goes
// on. The window has the book's contents, its index, a full-text search and
// the topic itself. Every show reuses the same window; a help file that is
// missing or unreadable gives a window saying so, never a message box.
class HTMLHelpViewer final
{
public:
    HTMLHelpViewer();
    ~HTMLHelpViewer();
    HTMLHelpViewer(const HTMLHelpViewer &) = delete;
    HTMLHelpViewer &operator=(const HTMLHelpViewer &) = delete;

    // The help collection (.qhc) the viewer shows.
    QString HelpFile() const;
    void set_HelpFile(const QString &path);

    // The window at its contents, showing the opening topic when no topic
    // is shown yet.
    void ShowContents();
    // The window at the opening topic.
    void Show();
    // The window at its index, ready for a word to look up.
    void ShowIndex();
    // The window at its full-text search, ready for a query.
    void ShowSearch();
    // The window at the topic of a help context id; an id the book lacks
    // shows the opening topic.
    void ShowContext(qint32 id);
    // Closes the window. Help windows also close when the application's
    // event loop ends, or at the latest as the application object goes,
    // since no window may outlive it.
    void Unload();

    // The help window of the last show; nullptr before the first show and
    // after Unload.
    QWidget *window() const;

private:
    class Window;

    Window &open_window();

    QString m_help_file;
    QPointer<Window> m_window;
};

// What a Help button does: opens the application's help file at a context id
// in the shared viewer.
void show_help_context(qint32 id);

// Makes F1 inside `widget` (a page window, or a panel of one) open the help
// at `id`. The innermost widget with an id around the focus wins, so a panel
// can carry a topic of its own within its page.
void install_help_context(QWidget *widget, qint32 id);
