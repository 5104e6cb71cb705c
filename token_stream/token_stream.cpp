#include "token_stream/token_stream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tessaly {

namespace {

std::string FullPath(const std::string& fileName) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(fileName, ec);
  return ec ? fileName : path.lexically_normal().string();
}

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, int error) {
  throw EParseError("Cannot open file \"" + FullPath(fileName) + "\". " + std::strerror(error), 0);
}

std::string DecodeUtf16(const std::string& bytes, bool bigEndian) {
  std::string text;
  text.reserve((bytes.size() - 2) / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    const unsigned lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    text.push_back(hi == 0 ? static_cast<char>(lo) : '?');
  }
  return text;
}

bool HasByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
         bytes.starts_with("\xEF\xBB\xBF");
}

}  // namespace

std::string TTokenStream::PrepareText(std::string bytes) {
  auto startsWith = [&](std::string_view mark) {
    return std::string_view(bytes).starts_with(mark);
  };
  if (startsWith("\xFF\xFE")) {
    bytes = DecodeUtf16(bytes, false);
  } else if (startsWith("\xFE\xFF")) {
    bytes = DecodeUtf16(bytes, true);
  } else if (startsWith("\xEF\xBB\xBF")) {
    bytes.erase(0, 3);
  }
  // Nothing after a NUL byte belongs to the text.
  if (const void* nul = std::memchr(bytes.data(), 0, bytes.size())) {
    bytes.resize(static_cast<const char*>(nul) - bytes.data());
  }
  return bytes;
}

void TTokenStream::BufferFree::operator()(char* p) const {
  if (mapped != 0) {
    ::munmap(p, mapped);
  } else {
    delete[] p;
  }
}

TTokenStream::Buffer TTokenStream::NewBuffer(size_t size) {
  // A large text goes into an anonymous mapping whose pages are all made
  // present at once, which costs far less than the fault per page that
  // filling a fresh heap block takes as the read goes.
  constexpr size_t kMapFrom = size_t{1} << 20;
  if (size >= kMapFrom) {
    int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#ifdef MAP_POPULATE
    flags |= MAP_POPULATE;
#endif
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (p != MAP_FAILED) return Buffer(static_cast<char*>(p), BufferFree{size});
  }
  return Buffer(new char[size], BufferFree{});
}

TTokenStream::TTokenStream(Buffer buffer, size_t size)
    : storage_(std::move(buffer)), text_(storage_.get()), size_(size) {
  std::memset(storage_.get() + size, 0, kPadding);
}

TTokenStream TTokenStream::FromPrepared(std::string_view text) {
  Buffer buffer = NewBuffer(text.size() + kPadding);
  std::memcpy(buffer.get(), text.data(), text.size());
  return TTokenStream(std::move(buffer), text.size());
}

TTokenStream TTokenStream::FromText(std::string text) {
  return FromPrepared(PrepareText(std::move(text)));
}

TTokenStream TTokenStream::LoadFromFile(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) ThrowCannotOpen(fileName, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  auto readSome = [&](char* into, size_t room) -> size_t {
    for (;;) {
      const ssize_t got = ::read(fd, into, room);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) ThrowCannotOpen(fileName, errno);
    }
  };
  // Read the whole file at once, straight into the stream's buffer (not
  // cleared first: the read fills it) for the size a regular file reports.
  size_t expected = 0;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    expected = static_cast<size_t>(info.st_size);
  }
  // The read goes in pieces, each searched for a NUL byte while it is still
  // in the cache.
  Buffer buffer = NewBuffer(expected + kPadding);
  constexpr size_t kPiece = size_t{256} << 10;
  size_t filled = 0;
  const char* nul = nullptr;
  while (filled < expected) {
    char* into = buffer.get() + filled;
    const size_t got = readSome(into, std::min(kPiece, expected - filled));
    if (got == 0) break;
    if (!nul) nul = static_cast<const char*>(std::memchr(into, 0, got));
    filled += got;
  }
  // Whatever else there is (a pipe has no size, a file may grow while it is
  // read) comes in chunks and takes the general path.
  char chunk[1 << 16];
  size_t got = filled < expected ? 0 : readSome(chunk, sizeof chunk);
  const std::string_view bytes(buffer.get(), filled);
  if (got > 0 || HasByteOrderMark(bytes)) {
    std::string all(bytes);
    buffer.reset();
    for (; got > 0; got = readSome(chunk, sizeof chunk))
      all.append(chunk, got);
    return FromPrepared(PrepareText(std::move(all)));
  }
  // Nothing after a NUL byte belongs to the text.
  const size_t size = nul ? static_cast<size_t>(nul - buffer.get()) : filled;
  return TTokenStream(std::move(buffer), size);
}

int TTokenStream::LineAt(size_t offset) const {
  const char* data = text_;
  const size_t size = size_;
  if (offset > size) offset = size;
  long line = 1;
  for (size_t i = 0; i < offset; ++i) {
    if (data[i] == '\n' || (data[i] == '\r' && (i + 1 >= size || data[i + 1] != '\n'))) ++line;
  }
  // At the end of the text, a final line break does not open another line.
  if (offset == size && size > 0 && (data[size - 1] == '\n' || data[size - 1] == '\r')) --line;
  if (line < 1) line = 1;
  return line > INT32_MAX ? INT32_MAX : static_cast<int>(line);
}

void TTokenStream::ThrowAtToken(const std::string& message) const {
  throw EParseError(message, TokenLine());
}

std::string StripQuotes(std::string_view source) {
  auto isQuote = [](char c) { return c == '"' || c == '\''; };
  if (!source.empty() && isQuote(source.front())) source.remove_prefix(1);
  if (!source.empty() && isQuote(source.back())) source.remove_suffix(1);
  return std::string(source);
}

}  // namespace tessaly
