#include "shared/gbk_code_page.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace gbk {

#ifdef _WIN32

std::uint16_t SystemDecodeCharacter(const unsigned char* bytes, std::size_t length) {
  wchar_t wide[2] = {};
  const int made = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes),
                                       static_cast<int>(length), wide, 2);
  return made == 1 ? static_cast<std::uint16_t>(wide[0]) : 0;
}

#else

namespace {

// One converter for the whole table build; GBK keeps no shift state, so it
// is reused without a reset between characters.
class Cp936Reader {
 public:
  Cp936Reader() : cd_(iconv_open("UTF-16LE", "CP936")) {}
  ~Cp936Reader() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  std::uint16_t Decode(const unsigned char* bytes, std::size_t length) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return 0;
    char in[2] = {static_cast<char>(bytes[0]), length > 1 ? static_cast<char>(bytes[1]) : '\0'};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = length, outLeft = sizeof out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    if (inLeft != 0 || outLeft != 2) return 0;  // not exactly one UTF-16 unit
    return static_cast<std::uint16_t>(out[0] | (out[1] << 8));
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::uint16_t SystemDecodeCharacter(const unsigned char* bytes, std::size_t length) {
  static thread_local Cp936Reader reader;
  return reader.Decode(bytes, length);
}

#endif

}  // namespace gbk
