#include "gui/app/DocumentTypes.h"

namespace tovin {

const std::vector<SDocumentTypeRow>& DocumentTypeRows() {
    static const std::vector<SDocumentTypeRow> kRows = {
        {"\nJavaDocument\nJava Source File\nJava Source Files (*.java)\n.java\nTovin.JavaSource\n"
         "Tovin Java Source",
         EDocumentKind::JavaSource, "java-file"},
        {"\nJavaProject\nJava Project\nJava Project Files (*.jpr)\n.jpr\nJavaProjectr.Document\n"
         "Java project Document",
         EDocumentKind::Project, "project"},
        {"\nHTMLDocument\nHTML File\nHTML Files (*.html)\n.html\nHTML.Document\nHTML Document",
         EDocumentKind::Html, "html-file"},
        {"\nXMLDocument\nXML File\nXML Files (*.xml)\n.xml\nXML.Document\nXML Document",
         EDocumentKind::Xml, "xml-file"},
        {"\nJythonDocument\nJython File\nJython Files (*.py)\n.py\nPY.Document\nPY Document",
         EDocumentKind::Jython, "jython-file"},
    };
    return kRows;
}

} // namespace tovin
