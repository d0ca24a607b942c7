#include "ui/qt/main_window.h"

#include <signal.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>

#include <cerrno>

#include "ui/qt/message_box.h"
#include "ui/qt/model_text.h"
#include "ui/qt/preview_window.h"
#include "ui/qt/tools_menu.h"

namespace tavrix::qt {
namespace {

const QString kFilter = QStringLiteral("Sesiones de Tavrix (*.tavrix)");
constexpr int kRecoveryDelayMs = 2000;
const QString kCopyPrefix = QStringLiteral("sesion-sin-guardar-");
// The title bar and borders the window manager adds, which the available area must hold too.
constexpr int kFrame = 40;

QString recovery_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// One copy per window, named after its process, so that two windows never share one.
QString own_recovery_copy() {
    return recovery_folder() + QLatin1Char('/') + kCopyPrefix +
           QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".tavrix");
}

bool process_running(qint64 pid) {
    return pid != QCoreApplication::applicationPid() &&
           (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// The copies of windows that are no longer running, newest first.
QFileInfoList orphaned_copies() {
    QFileInfoList orphans;
    // Matched by hand rather than by a name filter: a filter is a regular expression, and
    // compiling one at start-up costs the first frame the whole expression engine.
    const QFileInfoList files = QDir(recovery_folder()).entryInfoList(QDir::Files, QDir::Time);
    for (const QFileInfo& copy : files) {
        const QString name = copy.fileName();
        if (!name.startsWith(kCopyPrefix) || !name.endsWith(QStringLiteral(".tavrix")))
            continue;
        bool numeric = false;
        const qint64 pid = copy.completeBaseName().mid(kCopyPrefix.size()).toLongLong(&numeric);
        if (numeric && !process_running(pid))
            orphans.append(copy);
    }
    return orphans;
}

QString spanish_moment(const QDateTime& moment) {
    return QLocale(QLocale::Spanish, QLocale::Spain)
        .toString(moment, QStringLiteral("d 'de' MMMM 'de' yyyy 'a las' H:mm"));
}

}  // namespace

MainWindow::MainWindow(Platform platform, QWidget* parent)
    : QMainWindow(parent),
      editor_(new EditorWindow(std::move(platform))),
      document_(editor_->form()),
      flow_(document_, *this) {
    // The form keeps its size and every control its place: the menu bar sits above it.
    editor_->setFixedSize(editor_->size());
    build_menu();
    fit_screen();
    recovery_timer_.setSingleShot(true);
    recovery_timer_.setInterval(kRecoveryDelayMs);
    connect(&recovery_timer_, &QTimer::timeout, this, &MainWindow::write_recovery_copy);
    connect(editor_, &EditorWindow::edited, this, &MainWindow::on_edited);
    refresh_title();
}

// At a large scale factor the form can be taller or wider than the screen's available area;
// it is then shown in an area that scrolls, as large as the screen allows.
void MainWindow::fit_screen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize whole = editor_->size() + QSize(0, menuBar()->sizeHint().height());
    const QSize room = screen ? screen->availableGeometry().size() - QSize(kFrame, kFrame) : whole;
    if (whole.width() <= room.width() && whole.height() <= room.height()) {
        setCentralWidget(editor_);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    auto* scrolling = new QScrollArea;
    scrolling->setWidget(editor_);  // takes it over, at its fixed size
    setCentralWidget(scrolling);
    const int bars = scrolling->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize((whole + QSize(bars + 2, bars + 2)).boundedTo(room));
}

void MainWindow::build_menu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Archivo"));
    const auto add = [this, file](const QString& text, QKeySequence keys, auto slot) {
        QAction* action = file->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
    };
    add(QStringLiteral("&Abrir sesión..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        [this] { flow_.open_session(); });
    add(QStringLiteral("&Guardar sesión"), QKeySequence(Qt::CTRL | Qt::Key_S),
        [this] { (void)flow_.save(); });
    add(QStringLiteral("Guardar sesión &como..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        [this] { (void)flow_.save_as(); });
    file->addSeparator();
    add(from_model(generate_menu_text()), QKeySequence(), [this] { editor_->generate(); });
    file->addSeparator();
    add(QStringLiteral("&Salir"), QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::close);
    add_tools_menu(*menuBar(), *editor_);
}

// After a session is opened: every widget and the option's check item show what it holds.
void MainWindow::show_opened_session() {
    editor_->sync_changed();
    if (auto* preview = findChild<PreviewWindow*>(QString(), Qt::FindDirectChildrenOnly))
        preview->redraw();
    if (auto* ready = menuBar()->findChild<QAction*>(QStringLiteral("engineReady"))) {
        const QSignalBlocker quiet(ready);
        ready->setChecked(editor_->form().engine_ready());
    }
}

void MainWindow::start(const QString& session_file) {
    for (const QFileInfo& copy : orphaned_copies()) {
        if (flow_.offer_recovery(copy.filePath().toStdString(),
                                 spanish_moment(copy.lastModified()).toStdString()))
            break;
    }
    if (!session_file.isEmpty())
        (void)flow_.open_file(session_file.toStdString());
}

std::optional<std::string> MainWindow::choose_file(FileChoice kind, const std::string& current) {
    QString path;
    if (kind == FileChoice::Open) {
        path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir sesión"),
                                            QFileInfo(from_model(current)).path(), kFilter);
    } else {
        QFileDialog dialog(this, QStringLiteral("Guardar sesión"), from_model(current), kFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("tavrix"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().front();
    }
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

UnsavedAnswer MainWindow::ask_unsaved(const SessionQuestion& question) {
    QMessageBox box(QMessageBox::Warning, from_model(window_def().caption),
                    from_model(question.text), QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(from_model(question.yes), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(from_model(question.no), QMessageBox::DestructiveRole);
    box.addButton(from_model(kCancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedAnswer::Save;
    return box.clickedButton() == discard ? UnsavedAnswer::Discard : UnsavedAnswer::Stay;
}

bool MainWindow::ask(const SessionQuestion& question) {
    QMessageBox box(QMessageBox::Question, from_model(window_def().caption),
                    from_model(question.text), QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(from_model(question.yes), QMessageBox::AcceptRole);
    box.addButton(from_model(question.no), QMessageBox::DestructiveRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void MainWindow::show_failure(const std::string& message) {
    show_message(this, MessageKind::Failure, message);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!flow_.settle_unsaved()) {
        event->ignore();
        return;
    }
    remove_recovery_copy();
    event->accept();
}

void MainWindow::on_edited() {
    refresh_title();
    if (document_.unsaved())
        recovery_timer_.start();  // again from now: the copy follows the last change
    else
        remove_recovery_copy();
}

void MainWindow::refresh_title() {
    const QString caption = from_model(window_def().caption);
    const QString path = from_model(document_.path());
    setWindowFilePath(path);
    setWindowTitle(path.isEmpty()
                       ? caption + QStringLiteral("[*]")
                       : QFileInfo(path).fileName() + QStringLiteral("[*] - ") + caption);
    setWindowModified(document_.unsaved());
}

// A copy that cannot be written now is written at the next change; the person's own saves
// report their failures.
void MainWindow::write_recovery_copy() {
    if (!document_.unsaved() || !QDir().mkpath(recovery_folder()))
        return;
    (void)document_.write_copy(own_recovery_copy().toStdString());
}

// The copy a pending change would write is not written either.
void MainWindow::remove_recovery_copy() {
    recovery_timer_.stop();
    QFile::remove(own_recovery_copy());
}

void MainWindow::remove_file(const std::string& path) {
    QFile::remove(QString::fromStdString(path));
}

}  // namespace tavrix::qt
