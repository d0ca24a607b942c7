#include "ui/qt/main_window.h"

#include <signal.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStyle>

#include <cerrno>

#include "stage/archive_sprites.h"
#include "ui/qt/findings_dialog.h"
#include "ui/qt/message_box.h"
#include "ui/qt/model_text.h"
#include "ui/qt/preview_window.h"

namespace tavrix::qt {
namespace {

const QString kFilter = QStringLiteral("Sesiones de Tavrix (*.tavrix)");
const QString kStoryboardFilter = QStringLiteral("Storyboard (*.def);;Todos los archivos (*)");
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

QKeySequence key_sequence(Shortcut shortcut) {
    if (shortcut.empty())
        return {};
    const int key = shortcut.letter != '\0' ? Qt::Key_A + (shortcut.letter - 'A')
                                            : Qt::Key_F1 + (shortcut.function - 1);
    Qt::KeyboardModifiers modifiers;
    if (shortcut.control)
        modifiers |= Qt::ControlModifier;
    if (shortcut.shift)
        modifiers |= Qt::ShiftModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
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
    for (const MenuTitle& title : menu_titles()) {
        QMenu* menu = menuBar()->addMenu(from_model(title.caption));
        for (const MenuItem& item : menu_items()) {
            if (item.menu != title.menu)
                continue;
            if (item.separator_before)
                menu->addSeparator();
            QAction* action = menu->addAction(from_model(item.caption));
            action->setShortcut(key_sequence(item.shortcut));
            action->setCheckable(item.checkable);
            connect(action, &QAction::triggered, this,
                    [this, command = item.command] { run(command); });
            if (item.command == MenuCommand::EngineReady)
                engine_ready_ = action;
        }
    }
    engine_ready_->setChecked(editor_->form().engine_ready());
}

void MainWindow::run(MenuCommand command) {
    switch (command) {
        case MenuCommand::OpenSession:
            flow_.open_session();
            break;
        case MenuCommand::SaveSession:
            (void)flow_.save();
            break;
        case MenuCommand::SaveSessionAs:
            (void)flow_.save_as();
            break;
        case MenuCommand::Generate:
            editor_->generate();
            break;
        case MenuCommand::ExportStoryboard:
            editor_->export_storyboard();
            break;
        case MenuCommand::ImportStoryboard:
            flow_.import_storyboard();
            break;
        case MenuCommand::Quit:
            close();
            break;
        case MenuCommand::Check:
            show_findings(editor_->window(), editor_->form().check());
            break;
        case MenuCommand::Preview:
            show_preview(*editor_, archive_sprites_opener(system_platform().file_exists));
            break;
        case MenuCommand::EngineReady:
            editor_->set_engine_ready(engine_ready_->isChecked());
            break;
    }
}

// After a session is opened: every widget and the option's check item show what it holds.
void MainWindow::show_opened_session() {
    editor_->sync_changed();
    if (auto* preview = findChild<PreviewWindow*>(QString(), Qt::FindDirectChildrenOnly))
        preview->redraw();
    engine_ready_->setChecked(editor_->form().engine_ready());
}

void MainWindow::show_not_taken(const std::vector<std::string>& lines) {
    tavrix::qt::show_not_taken(this, lines);
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
    const QString folder = QFileInfo(from_model(current)).path();
    if (kind == FileChoice::Open) {
        path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir sesión"), folder, kFilter);
    } else if (kind == FileChoice::Storyboard) {
        path = QFileDialog::getOpenFileName(this, from_model(kImportCaption), folder,
                                            kStoryboardFilter);
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
