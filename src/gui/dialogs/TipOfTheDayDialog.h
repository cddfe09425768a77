#pragma once
// "Tip of the Day": one tip from the tips file on a white panel under a light bulb, the
// start-up check box, "Next Tip" and "Close".

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tovin {

class CApplicationServices;
class CTipOfTheDay;

class CTipOfTheDayDialog : public QDialog {
    Q_OBJECT
public:
    CTipOfTheDayDialog(CTipOfTheDay& tips, QWidget* parent = nullptr);

    QLabel* TipLabel() const { return m_tipText; }
    QCheckBox* StartupBox() const { return m_startup; }
    QPushButton* NextButton() const { return m_next; }

    // However the dialog closes ("Close", Escape, the window's close button), the start-up
    // choice is stored as the check box shows it.
    void done(int result) override;

private:
    void ShowTip();

    CTipOfTheDay& m_tips;
    QLabel* m_tipText;
    QCheckBox* m_startup;
    QPushButton* m_next;
};

// The tips file of the running program (in its data folder).
std::string ApplicationTipsFile();
// The "Tip of the Day..." command: reads the next tip and shows it.
void ShowTipOfTheDay(CApplicationServices& app, const std::string& tipsPath);
// The start-up check: always moves on by one tip, shows it only when the user wants tips at
// start-up.
void ShowStartupTip(CApplicationServices& app, const std::string& tipsPath);

} // namespace tovin
