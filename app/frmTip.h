#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class TipOfDay;

// The "Tip of the Day" window over its model: the buttons go to the model and the label
// shows the tip it holds.
class frmTip : public QDialog
{
    Q_OBJECT

public:
    frmTip(TipOfDay& tip, QWidget* parent);

    // Shows the tip modally until OK or the close box.
    void showModal();

public slots:
    void reject() override;

private:
    void showTip();

    TipOfDay& m_tip;
    QLabel* m_lblTipText = nullptr;
    QCheckBox* m_chkLoadTipsAtStartup = nullptr;
};
