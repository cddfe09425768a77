#pragma once
// The Java editor: Java colouring (the whole text by the scanning classifier on first display
// and F3, the caret's line as characters are typed), the indent unit on Tab, automatic
// indentation after Enter, closing braces aligned as they are typed, the function drop-down,
// and the Java commands that need this window's file (Compile, Add Window to Project, JDK Help).

#include "gui/editor/SourceView.h"

#include <QStringList>

namespace tovin {

class CSyntaxWindowDoc;

class CSyntaxWindowView : public CSourceView {
    Q_OBJECT
public:
    CSyntaxWindowView(CSyntaxWindowDoc& document, QWidget* parent);

    CSyntaxWindowDoc& JavaDocument() const;

    void OnInitialUpdate() override;
    // Refreshes the document's package and methods from the text and shows the methods.
    void RefreshFunctionList();
    QStringList FunctionNames() const;

    // ---- commands
    void OnSyntaxColourUpdate() override;
    void OnRefreshFunctionList();
    void OnFunctionListDropDown();
    // The entry the user chose in the frame's function list (-1: none).
    void OnFunctionChosen(int index);
    void OnAddWindowToProject();
    void OnCompile();
    void OnJdkHelp();
    void OnConvertTabsToSpaces();

signals:
    // The function drop-down's new entries, in order.
    void FunctionListChanged(const QStringList& names);

protected:
    void OnCharTyped(char typed) override;
};

} // namespace tovin
