#include "gui/app/ChildFrame.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace tovin {

namespace {

class CFunctionCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onDropDown;

    void showPopup() override {
        if (onDropDown) {
            onDropDown();
        }
        QComboBox::showPopup();
    }

protected:
    // Only a choice from the open list jumps (a click, or Enter there). On the closed list,
    // keys and the wheel would pick entries by the way, and the next typed characters would
    // replace the method header the jump selects; they only open the list here.
    void keyPressEvent(QKeyEvent* event) override {
        const bool alt = event->modifiers() & Qt::AltModifier;
        const int key = event->key();
        if (key == Qt::Key_F4 || key == Qt::Key_Space || key == Qt::Key_Escape ||
            (alt && (key == Qt::Key_Down || key == Qt::Key_Up))) {
            QComboBox::keyPressEvent(event);
            return;
        }
        event->accept();
    }
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

// The drop-down is 249 dialog units wide: a dialog unit is a quarter of the average width of
// the dialog font's letters.
int DialogUnitsToPixels(const QWidget& widget, int units) {
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    double average = QFontMetricsF(widget.font()).horizontalAdvance(kLetters) / kLetters.size();
    return static_cast<int>(units * average / 4 + 0.5);
}

} // namespace

CChildFrame::CChildFrame(CDocument& document, bool showFunctionBar)
    : CDocumentFrame(document), m_container(new QWidget(this)), m_bar(new QWidget(m_container)) {
    auto* combo = new CFunctionCombo(m_bar);
    combo->onDropDown = [this] { emit FunctionListDropDown(); };
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setFixedWidth(DialogUnitsToPixels(*combo, 249));
    combo->setToolTip(QStringLiteral("Methods of this file"));
    m_functions = combo;
    connect(combo, qOverload<int>(&QComboBox::activated), this, &CChildFrame::FunctionChosen);

    auto* barLayout = new QHBoxLayout(m_bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    barLayout->addWidget(combo);
    barLayout->addStretch();

    auto* layout = new QVBoxLayout(m_container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    m_bar->setVisible(showFunctionBar);
    setWidget(m_container);
}

void CChildFrame::PlaceView(QWidget* view) {
    static_cast<QVBoxLayout*>(m_container->layout())->addWidget(view, 1);
    m_container->setFocusProxy(view);
}

void CChildFrame::AddFunction(const std::string& text) {
    m_functions->addItem(QString::fromStdString(text));
    // The list makes its first entry current; none is chosen until the user chooses one.
    m_functions->setCurrentIndex(-1);
}

void CChildFrame::ClearFunctions() {
    m_functions->clear();
}

int CChildFrame::SelectedFunctionIndex() const {
    return m_functions->currentIndex();
}

bool CChildFrame::IsFunctionBarVisible() const {
    return !m_bar->isHidden();
}

QComboBox* CChildFrame::FunctionList() const {
    return m_functions;
}

} // namespace tovin
