#include "engine/TestFileName.h"

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

}  // namespace kel
