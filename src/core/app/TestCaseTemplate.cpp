#include "core/app/TestCaseTemplate.h"

namespace tovin {

std::string TestCaseClassName(const std::string& testedClass) {
    return testedClass.ends_with("Test") ? testedClass : testedClass + "Test";
}

std::string TestCaseText(const std::string& className, const std::string& testedClass,
                         const std::string& package) {
    std::string text;
    if (!package.empty()) {
        text += "package " + package + ";\n\n";
    }
    text += "import static org.junit.jupiter.api.Assertions.assertEquals;\n"
            "\n"
            "import org.junit.jupiter.api.Test;\n"
            "\n"
            "public class " +
            className +
            "\n"
            "{\n"
            "\t@Test\n"
            "\tvoid firstTest()\n"
            "\t{\n"
            "\t\tassertEquals(2, 1 + 1, \"replace this with a test of " +
            testedClass +
            "\");\n"
            "\t}\n"
            "}\n";
    return text;
}

} // namespace tovin
