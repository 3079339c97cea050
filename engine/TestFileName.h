#pragma once
// Names of the scratch files in the root folder of the drive under test:
// "~kelt00x.tmp" to "~kelt99x.tmp" for the test files and "~keltwwx.tmp" for
// the extra file of simultaneous runs. One buffer is reused for every name;
// building a name changes only its two index characters.

#include "engine/RunParameters.h"

#include <string>
#include <vector>

namespace kel {

constexpr int kExtraFileIndex = -1;

class TestFileName {
public:
    // Starts from the template "~kelt$xx.tmp" in rootPath.
    explicit TestFileName(const std::string& rootPath);
    const char* c_str() const { return m_text.c_str(); }
    const std::string& Text() const { return m_text; }
    // The name alone, without the folder, as it is opened in the folder.
    const char* Name() const { return m_text.c_str() + m_namePos; }

private:
    friend void MakeTestFileName(TestFileName& fileName, int index);
    std::string m_text;
    std::string::size_type m_namePos;
    std::string::size_type m_indexPos;
};

// index 0 to 99 for a test file, kExtraFileIndex for the extra file.
void MakeTestFileName(TestFileName& fileName, int index);

// Every test file a run with these parameters makes in rootPath, in order.
std::vector<std::string> TestFileNames(const std::string& rootPath, const RunParameters& parameters);

// For a program that ends before its run has deleted its files: a line
// "program: ended at once; these test files may remain:" and the names,
// each on its own line, control characters and bytes that are not UTF-8
// escaped.
std::string FilesMayRemainText(const std::string& program, const std::string& rootPath,
                               const RunParameters& parameters);

}  // namespace kel
