#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "batch/OpenFileTotals.h"

class Engine;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

// Tools > Field Totals: a small window beside the entry screen with the count, sum, minimum
// and maximum of one numeric field over the open file, and whether the batch balances against
// the control total from its paper. It never takes the keyboard from the entry screen by
// itself, and it shows the figures again at most four times a second, only when a record was
// stored, inserted or deleted or the file changed.
class frmFieldTotals : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RefreshMs = 250;

    frmFieldTotals(Engine& engine, QWidget* parent);

    // Shows the window, beside the main window the first time, leaving the keyboard where it
    // is.
    void showBeside();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void showChoices();
    void showFigures();
    void showBalance();
    QWidget* mainWindow() const;
    // Back to keying: the main window takes the keyboard again.
    void giveBackKeyboard();

    OpenFileTotals m_totals;
    QTimer* m_timer = nullptr;
    QComboBox* m_field = nullptr;
    QLabel* m_notice = nullptr;
    QWidget* m_figures = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_sum = nullptr;
    QLabel* m_min = nullptr;
    QLabel* m_max = nullptr;
    QLabel* m_blank = nullptr;
    QLabel* m_invalid = nullptr;
    QLineEdit* m_control = nullptr;
    QLabel* m_difference = nullptr;
    QLabel* m_balance = nullptr;

    std::vector<std::string> m_shownChoices;
    std::string m_shownPath;
    std::optional<Decimal> m_shownSum; // what the control total is checked against
    std::int64_t m_shownInvalid = 0;
    bool m_placed = false;
};
