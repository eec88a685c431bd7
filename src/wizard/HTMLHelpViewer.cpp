#include "HTMLHelpViewer.h"

#include "ScreenPlace.h"
#include "gui_globals.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>
#include <utility>

namespace {

const char *const kContextProperty = "tressel_help_context";
const char *const kShortcutProperty = "tressel_help_shortcut";

// The identifiers the help book gives its topics: the opening topic, and one
// per help context id.
const QString kOpeningTopic = QStringLiteral("welcome");

QString context_identifier(qint32 id)
{
    return QStringLiteral("context.") + QString::number(id);
}

QUrl topic_for(const QHelpEngineCore &engine, const QString &identifier)
{
    const QList<QHelpLink> links = engine.documentsForIdentifier(identifier);
    return links.isEmpty() ? QUrl() : links.first().url;
}

// The help books a collection registers, as readable files.
QStringList registered_books(const QString &collection)
{
    QHelpEngineCore shipped(collection);
    shipped.setReadOnly(true);
    if (!shipped.setupData())
        return {};
    QStringList books;
    for (const QString &name : shipped.registeredDocumentations()) {
        const QFileInfo book(shipped.documentationFileName(name));
        if (book.isFile() && book.isReadable())
            books << book.absoluteFilePath();
    }
    return books;
}

// What identifies the books' present versions: a change means they must be
// registered and indexed anew.
QString books_stamp(const QStringList &books)
{
    QStringList parts;
    for (const QString &book : books) {
        const QFileInfo info(book);
        parts << book + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|')
                + QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    return parts.join(QLatin1Char('\n'));
}

struct OpenedHelp
{
    std::unique_ptr<QHelpEngine> engine;
    bool books_changed = false;
};

// Opens a help collection. The collection in the program's folder may be
// read-only, while the help engine keeps its full-text index beside the
// collection it reads; so it reads a collection of its own in the user's
// cache folder that registers the same books. Without a cache folder it
// reads the given collection itself, and only the search may suffer.
OpenedHelp open_help(const QString &collection)
{
    const QFileInfo info(collection);
    if (collection.isEmpty() || !info.isFile() || !info.isReadable())
        return {};
    const QStringList books = registered_books(info.absoluteFilePath());
    if (books.isEmpty())
        return {};

    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(info.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QDir folder(cache + QStringLiteral("/help/") + key);
    if (!cache.isEmpty() && folder.mkpath(QStringLiteral("."))) {
        auto engine = std::make_unique<QHelpEngine>(folder.filePath(QStringLiteral("help.qhc")));
        engine->setReadOnly(false);
        if (engine->setupData()) {
            const QString stamp = books_stamp(books);
            const QString stamp_key = QStringLiteral("tressel/books");
            const bool changed = engine->customValue(stamp_key).toString() != stamp;
            if (changed) {
                for (const QString &name : engine->registeredDocumentations())
                    engine->unregisterDocumentation(name);
                for (const QString &book : books)
                    engine->registerDocumentation(book);
                engine->setCustomValue(stamp_key, stamp);
                engine->setupData();
            }
            if (!engine->registeredDocumentations().isEmpty())
                return { std::move(engine), changed };
        }
    }

    auto engine = std::make_unique<QHelpEngine>(info.absoluteFilePath());
    engine->setReadOnly(true);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty())
        return {};
    return { std::move(engine), false };
}

// Shows topics from the help book; links that lead out of it open in the
// user's web browser.
class HelpBrowser final : public QTextBrowser
{
public:
    explicit HelpBrowser(QWidget *parent)
        : QTextBrowser(parent)
    {
        setObjectName(QStringLiteral("helpBrowser"));
    }

    void set_engine(const QHelpEngineCore *engine) { m_engine = engine; }

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (name.scheme() == QLatin1String("qthelp"))
            return m_engine ? QVariant(m_engine->fileData(name)) : QVariant();
        return QTextBrowser::loadResource(type, name);
    }

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override
    {
        if (!name.isRelative() && name.scheme() != QLatin1String("qthelp")) {
            QDesktopServices::openUrl(name);
            return;
        }
        QTextBrowser::doSetSource(name, type);
    }

private:
    const QHelpEngineCore *m_engine = nullptr;
};

// Every help window there is. They close before the application object's
// own cleanup begins: a window deleted later, or a search index still being
// written while that cleanup runs, can bring the program down.
QList<QWidget *> &help_windows()
{
    static QList<QWidget *> windows;
    return windows;
}

void close_help_windows()
{
    const QList<QWidget *> windows = std::exchange(help_windows(), {});
    for (QWidget *window : windows)
        delete window;
}

// Keeps the closing of the help windows the latest of the application
// object's post routines, so that it runs before those Qt added meanwhile,
// while their objects are still in place.
void close_help_windows_first()
{
    qRemovePostRoutine(close_help_windows);
    qAddPostRoutine(close_help_windows);
}

// The context id F1 should open for a widget with an installed id: that of
// the innermost widget with an id around the focus, within the same window.
qint32 context_around_focus(QWidget *installed)
{
    QWidget *widget = QApplication::focusWidget();
    if (!widget || widget->window() != installed->window())
        widget = installed->window();
    for (; widget; widget = widget->parentWidget()) {
        const QVariant id = widget->property(kContextProperty);
        if (id.isValid())
            return id.toInt();
        if (widget->isWindow())
            break;
    }
    return installed->property(kContextProperty).toInt();
}

} // namespace

// The viewer's window: a tool bar, the navigation tabs and the topic.
class HTMLHelpViewer::Window final : public QWidget
{
public:
    Window();
    ~Window() override;

    // Opens a help file, replacing the book shown; a file that gives no help
    // leaves the window saying so.
    void load(const QString &collection);
    const QString &file() const { return m_file; }
    bool has_help() const { return m_engine != nullptr; }

    void show_contents_tab() { show_tab(m_contents_tab); }
    void show_index_tab();
    void show_search_tab();
    void show_topic(const QUrl &url);
    bool shows_topic() const { return m_shows_topic; }
    QUrl opening_topic() const;
    QUrl context_topic(qint32 id) const;
    // Brings the window up, in front of the wizard.
    void present();

private:
    void clear();
    void show_no_help();
    void show_tab(QWidget *tab);
    QWidget *build_contents_tab();
    QWidget *build_index_tab();
    QWidget *build_search_tab();
    void start_indexing();
    void run_search();
    void select_in_contents(const QUrl &url);

    QString m_file;
    std::unique_ptr<QHelpEngine> m_engine;
    QTabWidget *m_tabs = nullptr;
    HelpBrowser *m_browser = nullptr;
    QWidget *m_contents_tab = nullptr;
    QWidget *m_index_tab = nullptr;
    QWidget *m_search_tab = nullptr;
    QHelpContentWidget *m_contents = nullptr;
    QLineEdit *m_index_filter = nullptr;
    QHelpSearchQueryWidget *m_query = nullptr;
    bool m_shows_topic = false;
    bool m_placed = false;
    bool m_books_changed = false;
    bool m_indexing_started = false;
    bool m_indexing = false;
    bool m_search_waiting = false;
};

HTMLHelpViewer::Window::Window()
    : QWidget(nullptr, Qt::Window)
{
    help_windows().append(this);
    static bool closing_at_quit = false;
    if (!closing_at_quit) {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, close_help_windows);
        closing_at_quit = true;
    }
    close_help_windows_first();

    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Tressel Help"));

    auto *tool_bar = new QToolBar(this);
    tool_bar->setObjectName(QStringLiteral("helpToolBar"));
    tool_bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *back = tool_bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction *forward = tool_bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    QAction *home = tool_bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contents"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_browser = new HelpBrowser(splitter);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 280, 680 });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tool_bar);
    layout->addWidget(splitter);
    resize(960, 640);

    // Closed from the keyboard as other windows are.
    auto *close = new QAction(this);
    close->setShortcuts({ QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W) });
    addAction(close);
    connect(close, &QAction::triggered, this, &QWidget::close);

    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] {
        show_contents_tab();
        show_topic(opening_topic());
    });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &Window::select_in_contents);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_search_tab && m_tabs->currentWidget() == m_search_tab)
            start_indexing();
    });

    show_no_help();
}

HTMLHelpViewer::Window::~Window()
{
    help_windows().removeOne(this);
    clear();
}

void HTMLHelpViewer::Window::clear()
{
    // The tabs show the engine's models: they go first.
    while (m_tabs->count() > 0) {
        QWidget *tab = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete tab;
    }
    m_contents_tab = m_index_tab = m_search_tab = nullptr;
    m_contents = nullptr;
    m_index_filter = nullptr;
    m_query = nullptr;
    m_books_changed = m_indexing_started = m_indexing = m_search_waiting = false;
    m_shows_topic = false;
    m_browser->set_engine(nullptr);
    m_browser->clear();
    m_browser->clearHistory();
    m_engine.reset();
}

void HTMLHelpViewer::Window::load(const QString &collection)
{
    clear();
    m_file = collection;
    OpenedHelp help = open_help(collection);
    if (!help.engine) {
        show_no_help();
        return;
    }
    m_engine = std::move(help.engine);
    m_books_changed = help.books_changed;
    // One of the window's objects, found among its children; the window
    // still deletes it itself, after the views of its models.
    m_engine->setParent(this);
    m_browser->set_engine(m_engine.get());
    m_contents_tab = build_contents_tab();
    m_index_tab = build_index_tab();
    m_search_tab = build_search_tab();
    m_tabs->addTab(m_contents_tab, QStringLiteral("Contents"));
    m_tabs->addTab(m_index_tab, QStringLiteral("Index"));
    m_tabs->addTab(m_search_tab, QStringLiteral("Search"));
    m_tabs->show();
}

void HTMLHelpViewer::Window::show_no_help()
{
    m_tabs->hide();
    m_browser->setHtml(QStringLiteral("<h2>Help is not available</h2>"
                                      "<p>The help file could not be opened:</p><p><code>%1</code></p>"
                                      "<p>Installing Tressel again brings it back.</p>")
                           .arg(m_file.isEmpty() ? QStringLiteral("(none)") : m_file.toHtmlEscaped()));
}

QWidget *HTMLHelpViewer::Window::build_contents_tab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("contentsTab"));
    m_contents = m_engine->contentWidget();
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_contents);

    connect(m_contents, &QHelpContentWidget::linkActivated, this, &Window::show_topic);
    // The contents are read in the background: open them out and mark the
    // topic shown once they are there.
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        if (!m_contents)
            return;
        m_contents->expandAll();
        select_in_contents(m_browser->source());
    });
    return tab;
}

QWidget *HTMLHelpViewer::Window::build_index_tab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("indexTab"));
    m_index_filter = new QLineEdit(tab);
    m_index_filter->setObjectName(QStringLiteral("indexFilter"));
    m_index_filter->setPlaceholderText(QStringLiteral("Type a word to look up"));
    m_index_filter->setClearButtonEnabled(true);
    QHelpIndexWidget *index = m_engine->indexWidget();
    index->setObjectName(QStringLiteral("helpIndex"));
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_index_filter);
    layout->addWidget(index);

    connect(
        m_index_filter, &QLineEdit::textChanged, index, [index](const QString &text) { index->filterIndices(text); });
    connect(m_index_filter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
        [this](const QHelpLink &document, const QString &) { show_topic(document.url); });
    connect(
        index, &QHelpIndexWidget::documentsActivated, this, [this](const QList<QHelpLink> &documents, const QString &) {
            if (!documents.isEmpty())
                show_topic(documents.first().url);
        });
    return tab;
}

QWidget *HTMLHelpViewer::Window::build_search_tab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("searchTab"));
    QHelpSearchEngine *search = m_engine->searchEngine();
    m_query = search->queryWidget();
    m_query->setObjectName(QStringLiteral("searchQuery"));
    QHelpSearchResultWidget *results = search->resultWidget();
    results->setObjectName(QStringLiteral("searchResults"));
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_query);
    layout->addWidget(results, 1);

    connect(m_query, &QHelpSearchQueryWidget::search, this, &Window::run_search);
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &Window::show_topic);
    connect(search, &QHelpSearchEngine::indexingStarted, this, [this] { m_indexing = true; });
    // A query asked for while the book was being indexed runs once the index
    // is complete.
    connect(search, &QHelpSearchEngine::indexingFinished, this, [this] {
        m_indexing = false;
        if (m_search_waiting) {
            m_search_waiting = false;
            run_search();
        }
    });
    return tab;
}

// The book is indexed in the background the first time its search is shown,
// so that a user who never searches never waits for it.
void HTMLHelpViewer::Window::start_indexing()
{
    if (!m_engine || m_indexing_started)
        return;
    m_indexing_started = true;
    m_indexing = true;
    close_help_windows_first();
    if (m_books_changed)
        m_engine->searchEngine()->reindexDocumentation();
    else
        m_engine->searchEngine()->scheduleIndexDocumentation();
}

void HTMLHelpViewer::Window::run_search()
{
    if (!m_engine || !m_query)
        return;
    start_indexing();
    if (m_indexing) {
        m_search_waiting = true;
        return;
    }
    m_engine->searchEngine()->search(m_query->searchInput());
}

void HTMLHelpViewer::Window::show_tab(QWidget *tab)
{
    if (tab)
        m_tabs->setCurrentWidget(tab);
}

void HTMLHelpViewer::Window::show_index_tab()
{
    show_tab(m_index_tab);
    if (m_index_filter)
        m_index_filter->setFocus();
}

void HTMLHelpViewer::Window::show_search_tab()
{
    show_tab(m_search_tab);
    if (m_query)
        m_query->setFocus();
}

void HTMLHelpViewer::Window::show_topic(const QUrl &url)
{
    if (!m_engine || !url.isValid() || url.isEmpty())
        return;
    // The same address may name a topic of another book just opened.
    if (m_browser->source() == url)
        m_browser->reload();
    else
        m_browser->setSource(url);
    m_shows_topic = true;
}

QUrl HTMLHelpViewer::Window::opening_topic() const
{
    return m_engine ? topic_for(*m_engine, kOpeningTopic) : QUrl();
}

QUrl HTMLHelpViewer::Window::context_topic(qint32 id) const
{
    return m_engine ? topic_for(*m_engine, context_identifier(id)) : QUrl();
}

void HTMLHelpViewer::Window::select_in_contents(const QUrl &url)
{
    if (!m_contents || url.isEmpty())
        return;
    const QModelIndex index = m_contents->indexOf(url);
    if (index.isValid())
        m_contents->setCurrentIndex(index);
}

void HTMLHelpViewer::Window::present()
{
    // A modal dialog (the task report) holds back every window that is not
    // its own, and keeps itself and its page in front of them: the help
    // asked for there counts as the dialog's for the time, so it comes in
    // front and takes the keyboard. Asked for from a page, it stands alone,
    // and the page can come in front of it.
    QWidget *modal = QApplication::activeModalWidget();
    winId();
    windowHandle()->setTransientParent(modal && modal != this ? modal->windowHandle() : nullptr);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!m_placed) {
        // The first time over the window the user asked from; after that
        // where they keep it, also when they closed it in between.
        QWidget *anchor = working_window();
        place_over(*this, anchor == this ? nullptr : anchor);
        m_placed = true;
    } else if (!isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        set_place(*this, geometry());
    }
    show();
    raise();
    activateWindow();
    close_help_windows_first();
}

HTMLHelpViewer::HTMLHelpViewer() = default;

HTMLHelpViewer::~HTMLHelpViewer()
{
    Unload();
}

QString HTMLHelpViewer::HelpFile() const
{
    return m_help_file;
}

void HTMLHelpViewer::set_HelpFile(const QString &path)
{
    m_help_file = path;
}

HTMLHelpViewer::Window &HTMLHelpViewer::open_window()
{
    if (!m_window)
        m_window = new Window;
    // A file that gave no help is tried again: it may have been put back.
    if (m_window->file() != m_help_file || !m_window->has_help())
        m_window->load(m_help_file);
    return *m_window;
}

void HTMLHelpViewer::ShowContents()
{
    Window &window = open_window();
    window.show_contents_tab();
    if (!window.shows_topic())
        window.show_topic(window.opening_topic());
    window.present();
}

void HTMLHelpViewer::Show()
{
    Window &window = open_window();
    window.show_contents_tab();
    window.show_topic(window.opening_topic());
    window.present();
}

void HTMLHelpViewer::ShowIndex()
{
    Window &window = open_window();
    if (!window.shows_topic())
        window.show_topic(window.opening_topic());
    window.show_index_tab();
    window.present();
}

void HTMLHelpViewer::ShowSearch()
{
    Window &window = open_window();
    if (!window.shows_topic())
        window.show_topic(window.opening_topic());
    window.show_search_tab();
    window.present();
}

void HTMLHelpViewer::ShowContext(qint32 id)
{
    Window &window = open_window();
    QUrl topic = window.context_topic(id);
    if (topic.isEmpty())
        topic = window.opening_topic();
    window.show_contents_tab();
    window.show_topic(topic);
    window.present();
}

void HTMLHelpViewer::Unload()
{
    if (!m_window)
        return;
    m_window->hide();
    delete m_window.data();
}

QWidget *HTMLHelpViewer::window() const
{
    return m_window.data();
}

void show_help_context(qint32 id)
{
    const std::shared_ptr<HTMLHelpViewer> viewer = globals::help_viewer();
    viewer->set_HelpFile(globals::app_help_file());
    viewer->ShowContext(id);
}

void install_help_context(QWidget *widget, qint32 id)
{
    widget->setProperty(kContextProperty, id);
    if (widget->property(kShortcutProperty).toBool())
        return;
    widget->setProperty(kShortcutProperty, true);
    auto *shortcut = new QShortcut(QKeySequence::HelpContents, widget);
    shortcut->setContext(widget->isWindow() ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut);
    // A page and a panel of it both answer F1; whichever Qt picks opens the
    // same, innermost topic.
    const auto open = [widget] { show_help_context(context_around_focus(widget)); };
    QObject::connect(shortcut, &QShortcut::activated, widget, open);
    QObject::connect(shortcut, &QShortcut::activatedAmbiguously, widget, open);
}
