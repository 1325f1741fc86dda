#include "app/QtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>

#include "app/FrmFileFmt.h"
#include "app/QtText.h"

namespace
{

using QtText::Display;
using QtText::Latin1;
using QtText::ToLatin1;

QMessageBox::StandardButtons ToButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
    case Dialogs::Buttons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::OK:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A box closed without a button (Escape, close box) counts as its refusing answer.
Dialogs::Answer ToAnswer(int clicked, Dialogs::Buttons buttons)
{
    switch (clicked) {
    case QMessageBox::Ok:
        return Dialogs::Answer::OK;
    case QMessageBox::Cancel:
        return Dialogs::Answer::Cancel;
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        break;
    }
    switch (buttons) {
    case Dialogs::Buttons::OKCancel:
        return Dialogs::Answer::Cancel;
    case Dialogs::Buttons::YesNo:
    case Dialogs::Buttons::YesNoDefaultNo:
        return Dialogs::Answer::No;
    case Dialogs::Buttons::OK:
        break;
    }
    return Dialogs::Answer::OK;
}

} // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

Dialogs::Answer QtDialogs::messageBox(const std::string& text, const std::string& title,
                                      Buttons buttons, Icon icon)
{
    if (m_beforeMessage)
        m_beforeMessage();
    QMessageBox box(ToIcon(icon), Display(title), Display(text), ToButtons(buttons), m_parent);
    if (buttons == Buttons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    return ToAnswer(box.exec(), buttons);
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& def)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, Latin1(title), Latin1(prompt),
                                                 QLineEdit::Normal, Latin1(def), &ok);
    if (!ok)
        return std::nullopt;
    return ToLatin1(answer);
}

std::optional<std::string> QtDialogs::openFile(const OpenRequest& request)
{
    if (!m_fileDialog) {
        m_fileDialog = new QFileDialog(m_parent);
        m_fileDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_fileDialog->setAcceptMode(QFileDialog::AcceptOpen);
        // A name that does not exist yet may be typed: it becomes a new data file.
        m_fileDialog->setFileMode(QFileDialog::AnyFile);
    }
    QFileDialog& dialog = *m_fileDialog;
    dialog.setWindowTitle(Latin1(request.title));
    QStringList filters;
    for (const auto& f : request.filters)
        filters << Latin1(f);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (!request.startDir.empty())
        dialog.setDirectory(QtText::Path(request.startDir));
    if (!request.lastName.empty())
        dialog.selectFile(QtText::Path(request.lastName));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return QtText::PathBytes(chosen.first());
}

std::optional<Color> QtDialogs::pickColor(Color initial)
{
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor picked = QColorDialog::getColor(start, m_parent);
    if (!picked.isValid())
        return std::nullopt;
    return static_cast<Color>(picked.red()) | static_cast<Color>(picked.green()) << 8 |
           static_cast<Color>(picked.blue()) << 16;
}

Dialogs::FormatChoice QtDialogs::chooseFormat(const std::vector<std::string>& entries)
{
    if (!m_formatDialog)
        m_formatDialog = new FrmFileFmt(m_parent);
    return m_formatDialog->choose(entries);
}

bool QtDialogs::progress(const std::string& label, std::int64_t done, std::int64_t total)
{
    // Work of more than about half a second shows the dialog (its minimum duration); the
    // range is in KiB so that files beyond 2 GiB still fit an int.
    const auto kib = [](std::int64_t bytes) { return static_cast<int>(bytes / 1024); };
    if (!m_progress && done >= total)
        return true;
    if (!m_progress) {
        m_progress =
            new QProgressDialog(Latin1(label), QStringLiteral("Cancel"), 0, kib(total), m_parent);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(500);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
    }
    m_progress->setValue(kib(done));
    const bool cancelled = m_progress->wasCanceled();
    if (done >= total || cancelled) {
        // Gone at once: a box shown next runs its own event loop, in which the dialog's
        // show timer would still fire and the deferred deletion would not yet happen.
        m_progress->reset();
        m_progress->hide();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    return !cancelled;
}
