#include "tests/support/EngineDoubles.h"

#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>

namespace kel::test {

namespace {
std::string Base(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

void FakeFileBackend::FailNth(Op op, int n, int code)
{
    std::lock_guard lock(m_mutex);
    m_failures[op][m_calls[op] + n] = code;
}

void FakeFileBackend::ShortNth(Op op, int n)
{
    std::lock_guard lock(m_mutex);
    m_shorts[op] = m_calls[op] + n;
}

bool FakeFileBackend::Fails(Op op, int& code)
{
    const int call = ++m_calls[op];
    const auto& failures = m_failures[op];
    const auto failure = failures.find(call);
    if (failure == failures.end()) {
        return false;
    }
    code = failure->second;
    return true;
}

bool FakeFileBackend::IsShort(Op op)
{
    const auto entry = m_shorts.find(op);
    return entry != m_shorts.end() && entry->second == m_calls[op];
}

void FakeFileBackend::ReadOtherOffsetNth(int n, std::uint64_t offset)
{
    std::lock_guard lock(m_mutex);
    m_dataFaults[m_calls[Op::Read] + n] = {DataFault::OtherOffset, offset};
}

void FakeFileBackend::FlipBitNth(int n, std::uint32_t bit)
{
    std::lock_guard lock(m_mutex);
    m_dataFaults[m_calls[Op::Read] + n] = {DataFault::FlipBit, bit};
}

void FakeFileBackend::ZerosNth(int n)
{
    std::lock_guard lock(m_mutex);
    m_dataFaults[m_calls[Op::Read] + n] = {DataFault::Zeros, 0};
}

void FakeFileBackend::Tick(std::uint32_t bytes, bool write)
{
    const bool slow = write && m_fallAfter != 0 && m_written >= m_fallAfter;
    if (write) {
        m_written += bytes;
    }
    if (m_clock != nullptr) {
        m_clock->Advance(m_ticksPerTransfer + (slow ? m_fallTicksPerMiB : m_ticksPerMiB) * bytes / 1048576u);
    }
}

void FakeFileBackend::StoreData(const OpenFile& file, const void* buffer, std::uint32_t bytes)
{
    std::vector<std::uint8_t>& data = m_data[file.name];
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    for (std::uint32_t i = 0; i < bytes; ++i) {
        const std::uint64_t at = m_wrap != 0 ? (file.position + i) % m_wrap : file.position + i;
        if (at >= data.size()) {
            data.resize(static_cast<std::size_t>(at + 1));
        }
        data[static_cast<std::size_t>(at)] = in[i];
    }
}

void FakeFileBackend::LoadData(const OpenFile& file, void* buffer, std::uint32_t bytes)
{
    const std::vector<std::uint8_t>& data = m_data[file.name];
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint64_t from = file.position;
    const auto fault = m_dataFaults.find(m_calls[Op::Read]);
    if (fault != m_dataFaults.end() && fault->second.kind == DataFault::OtherOffset) {
        from = fault->second.value;
    }
    for (std::uint32_t i = 0; i < bytes; ++i) {
        const std::uint64_t at = m_wrap != 0 ? (from + i) % m_wrap : from + i;
        out[i] = at < data.size() ? data[static_cast<std::size_t>(at)] : 0;
    }
    if (fault != m_dataFaults.end() && fault->second.kind == DataFault::FlipBit) {
        out[fault->second.value / 8] ^= static_cast<std::uint8_t>(1u << (fault->second.value % 8));
    } else if (fault != m_dataFaults.end() && fault->second.kind == DataFault::Zeros) {
        std::fill(out, out + bytes, std::uint8_t {0});
    }
}

int FakeFileBackend::OpenFolder(const char* path)
{
    std::lock_guard lock(m_mutex);
    m_log.push_back(std::string("lock ") + path);
    int code = 0;
    if (Fails(Op::Folder, code)) {
        SetLastSystemError(code);
        return -1;
    }
    for (const auto& [fd, folder] : m_folders) {
        if (folder == path) {
            SetLastSystemError(kErrorInUse);
            return -1;
        }
    }
    const int fd = m_nextFd++;
    m_folders[fd] = path;
    return fd;
}

bool FakeFileBackend::CloseFolder(int folder)
{
    std::lock_guard lock(m_mutex);
    m_log.push_back("unlock " + m_folders.at(folder));
    m_folders.erase(folder);
    return true;
}

int FakeFileBackend::Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule)
{
    std::lock_guard lock(m_mutex);
    const std::string path = m_folders.at(folder) + "/" + name;
    const bool create = mode == TestFileMode::CreateReadWrite;
    m_log.push_back(std::string(create ? "open-c " : "open-r ") + Base(path));
    m_lastGranule = transferGranule;
    int code = 0;
    if (Fails(Op::Open, code)) {
        SetLastSystemError(code);
        return -1;
    }
    if (create) {
        m_files[path] = 0;
        m_data.erase(path);
    } else if (m_files.count(path) == 0) {
        SetLastSystemError(kErrorNotFound);
        return -1;
    }
    const int fd = m_nextFd++;
    m_open[fd] = OpenFile {path, create};
    return fd;
}

std::int64_t FakeFileBackend::Read(int fd, void* buffer, std::uint32_t bytes)
{
    if (m_hook) {
        m_hook();
    }
    std::lock_guard lock(m_mutex);
    OpenFile& file = m_open.at(fd);
    m_log.push_back("read " + Base(file.name) + " " + std::to_string(bytes));
    Tick(bytes);
    int code = 0;
    if (Fails(Op::Read, code)) {
        SetLastSystemError(code);
        return -1;
    }
    const std::uint64_t size = m_files[file.name];
    std::uint64_t moved = file.position < size ? std::min<std::uint64_t>(bytes, size - file.position) : 0;
    if (IsShort(Op::Read)) {
        moved = bytes / 2;
    }
    if (m_keepData) {
        LoadData(file, buffer, static_cast<std::uint32_t>(moved));
    }
    file.position += moved;
    return static_cast<std::int64_t>(moved);
}

std::int64_t FakeFileBackend::Write(int fd, const void* buffer, std::uint32_t bytes)
{
    if (m_hook) {
        m_hook();
    }
    std::lock_guard lock(m_mutex);
    OpenFile& file = m_open.at(fd);
    m_log.push_back("write " + Base(file.name) + " " + std::to_string(bytes));
    Tick(bytes, true);
    int code = 0;
    if (Fails(Op::Write, code)) {
        SetLastSystemError(code);
        return -1;
    }
    const std::uint32_t moved = IsShort(Op::Write) ? bytes / 2 : bytes;
    if (m_keepData) {
        StoreData(file, buffer, moved);
    }
    file.position += moved;
    m_files[file.name] = std::max(m_files[file.name], file.position);
    return moved;
}

bool FakeFileBackend::Close(int fd)
{
    std::lock_guard lock(m_mutex);
    m_log.push_back("close " + Base(m_open.at(fd).name));
    m_open.erase(fd);
    int code = 0;
    if (Fails(Op::Close, code)) {
        SetLastSystemError(code);
        return false;
    }
    return true;
}

bool FakeFileBackend::Remove(int folder, const char* name)
{
    std::lock_guard lock(m_mutex);
    const std::string path = m_folders.at(folder) + "/" + name;
    m_log.push_back("remove " + Base(path));
    int code = 0;
    if (Fails(Op::Remove, code)) {
        SetLastSystemError(code);
        return false;
    }
    m_data.erase(path);
    if (m_files.erase(path) == 0) {
        SetLastSystemError(kErrorNotFound);
        return false;
    }
    return true;
}

void FakeFileBackend::FlushVolume(int folder)
{
    std::lock_guard lock(m_mutex);
    m_log.push_back("flush " + m_folders.at(folder));
}

std::vector<std::string> FakeFileBackend::Log() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

std::vector<std::string> FakeFileBackend::ExistingFiles() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& [name, size] : m_files) {
        names.push_back(Base(name));
    }
    return names;
}

std::uint64_t FakeFileBackend::FileSize(const std::string& name) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& [path, size] : m_files) {
        if (Base(path) == name) {
            return size;
        }
    }
    return 0;
}

int FakeFileBackend::OpenCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_open.size());
}

}  // namespace kel::test
