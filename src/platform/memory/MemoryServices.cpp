#include "platform/memory/MemoryServices.h"

#include <algorithm>

namespace vormix {

void MemoryMessageBox::Show(INativeWindow* owner, const std::string& text,
                            const std::string& caption, TMessageIcon icon) {
  Shown.push_back({owner, text, caption, icon});
  if (WhileShown) WhileShown(Shown.back());
}

bool MemorySaveDialog::Execute(const TSaveDialogRequest& request, std::string& chosenPath) {
  Requests.push_back(request);
  if (Answers.empty()) return false;
  std::optional<std::string> answer = Answers.front();
  Answers.erase(Answers.begin());
  if (!answer) return false;
  chosenPath = *answer;
  return true;
}

namespace {

class MemoryFile : public IWritableFile {
 public:
  MemoryFile(MemoryFileSystem& owner, std::string& content) : m_owner(owner), m_content(content) {
    ++m_owner.OpenFiles;
  }
  ~MemoryFile() override { --m_owner.OpenFiles; }
  std::size_t Write(std::string_view bytes) override {
    std::size_t n = m_owner.WriteLimit ? std::min(*m_owner.WriteLimit, bytes.size()) : bytes.size();
    m_content.append(bytes.substr(0, n));
    return n;
  }

 private:
  MemoryFileSystem& m_owner;
  std::string& m_content;
};

}  // namespace

TFileCreateResult MemoryFileSystem::CreateNew(const std::string& path) {
  TFileCreateResult result;
  if (auto failure = CreateErrors.find(path); failure != CreateErrors.end()) {
    result.ErrorText = failure->second;
    return result;
  }
  std::string& content = Files[path];
  content.clear();
  CreatedPaths.push_back(path);
  result.File = std::make_unique<MemoryFile>(*this, content);
  return result;
}

MemoryCodePage::MemoryCodePage()
    : Table{{"文", "\xCE\xC4"}, {"件", "\xBC\xFE"}, {"命", "\xC3\xFC"}, {"令", "\xC1\xEE"},
            {"生", "\xC9\xFA"}, {"成", "\xB3\xC9"}, {"测", "\xB2\xE2"}, {"试", "\xCA\xD4"},
            {"！", "\xA3\xA1"}} {}

namespace {

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

TAnsiConversion MemoryCodePage::ToAnsi(std::string_view utf8) const {
  TAnsiConversion result;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    std::string ch(utf8.substr(i, n));
    i += n;
    if (n == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      result.Bytes += ch;
    } else if (auto found = Table.find(ch); found != Table.end()) {
      result.Bytes += found->second;
    } else if (result.Complete) {
      result.Complete = false;
      result.FirstMissing = ch;
    }
  }
  if (!result.Complete) result.Bytes.clear();
  return result;
}

std::string MemoryCodePage::FromAnsi(std::string_view bytes) const {
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80 || i + 1 == bytes.size()) {
      out += bytes[i++];
      continue;
    }
    std::string pair(bytes.substr(i, 2));
    auto found = std::find_if(Table.begin(), Table.end(), [&](const auto& e) { return e.second == pair; });
    out += found != Table.end() ? found->first : "?";
    i += 2;
  }
  return out;
}

}  // namespace vormix
