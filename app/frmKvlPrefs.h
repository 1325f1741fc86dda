#pragma once

#include <array>

#include <QDialog>

class PrefsForm;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The Preferences dialog over its model: the controls show what the model holds when the
// dialog opens, and every change and button goes straight to the model. Created once with
// the main window and only hidden when closed.
class frmKvlPrefs : public QDialog
{
    Q_OBJECT

public:
    frmKvlPrefs(PrefsForm& form, QWidget* parent);

    // Shows the dialog modally until OK or Cancel.
    void showModal();

public slots:
    // Escape and the window's close button are Cancel.
    void reject() override;

private:
    void loadControls();

    PrefsForm& m_form;
    std::array<QLineEdit*, 10> m_mem{}; // 2..9
    QRadioButton* m_dupkeyF12 = nullptr;
    QRadioButton* m_dupKey7 = nullptr;
    QCheckBox* m_check1 = nullptr;
};
