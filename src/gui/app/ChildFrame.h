#pragma once
// The frame of a Java source window: the view under a bar holding the function drop-down,
// which lists the methods of the file (the Java editor fills and reads it). The bar is left out
// when the SHOWDROPS setting is 0 at the time the window opens.

#include "gui/framework/DocumentFrame.h"

#include <functional>
#include <string>

class QComboBox;

namespace tovin {

class CChildFrame : public CDocumentFrame {
    Q_OBJECT
public:
    CChildFrame(CDocument& document, bool showFunctionBar);

    void AddFunction(const std::string& text);
    void ClearFunctions();
    // Index of the chosen entry, or -1 when none is chosen.
    int SelectedFunctionIndex() const;
    bool IsFunctionBarVisible() const;
    QComboBox* FunctionList() const;

signals:
    // The list is about to drop down (the editor refreshes it first).
    void FunctionListDropDown();
    // The user chose entry `index` from the list.
    void FunctionChosen(int index);

protected:
    void PlaceView(QWidget* view) override;

private:
    QWidget* m_container;
    QWidget* m_bar;
    QComboBox* m_functions;
};

} // namespace tovin
