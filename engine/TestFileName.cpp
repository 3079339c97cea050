#include "engine/TestFileName.h"

#include "platform/TextRules.h"

namespace kel {

TestFileName::TestFileName(const std::string& rootPath) : m_text(rootPath)
{
    if (m_text.empty() || m_text.back() != '/') {
        m_text += '/';
    }
    m_namePos = m_text.size();
    m_text += "~kelt";
    m_indexPos = m_text.size();
    m_text += "$xx.tmp";
}

void MakeTestFileName(TestFileName& fileName, int index)
{
    if (index == kExtraFileIndex) {
        fileName.m_text[fileName.m_indexPos] = 'w';
        fileName.m_text[fileName.m_indexPos + 1] = 'w';
        return;
    }
    fileName.m_text[fileName.m_indexPos] = static_cast<char>('0' + index / 10);
    fileName.m_text[fileName.m_indexPos + 1] = static_cast<char>('0' + index % 10);
}

std::vector<std::string> TestFileNames(const std::string& rootPath, const RunParameters& parameters)
{
    std::vector<std::string> names;
    TestFileName name(rootPath);
    for (int i = 0; i < parameters.numFiles; ++i) {
        MakeTestFileName(name, i);
        names.push_back(name.Text());
    }
    if (parameters.simultaneous != 0) {
        MakeTestFileName(name, kExtraFileIndex);
        names.push_back(name.Text());
    }
    return names;
}

std::string FilesMayRemainText(const std::string& program, const std::string& rootPath,
                               const RunParameters& parameters)
{
    std::string text = "\n" + program + ": ended at once; these test files may remain:\n";
    for (const std::string& name : TestFileNames(rootPath, parameters)) {
        text += "  " + PrintableText(name) + "\n";
    }
    return text;
}

}  // namespace kel
