#include "app/frmTip.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "common/FindFile.h"
#include "common/TextUtil.h"

frmTip::frmTip(const std::filesystem::path& appDir, QWidget* parent)
    : QDialog(parent), m_tip(ReadTip(appDir))
{
    setWindowTitle(QStringLiteral("Tip of the Day"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(m_tip, this);
    label->setWordWrap(true);
    label->setMinimumWidth(320);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString frmTip::ReadTip(const std::filesystem::path& appDir)
{
    const auto lines = text::ReadLines(FindFile::AnyCase(appDir, "TIPOFDAY.TXT"));
    if (!lines)
        return {};
    for (const auto& line : lines.value()) {
        const std::string tip = text::Trim(line);
        if (!tip.empty())
            return QtText::Latin1(tip);
    }
    return {};
}
