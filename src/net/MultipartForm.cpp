#include "net/MultipartForm.h"

#include <iterator>

namespace {

// 29 dashes and a fixed tail; the request header names it without the first two dashes.
constexpr char kBoundary[] = "-----------------------------7da1f4c300560";
constexpr char kLineEnd[] = "\r\n";
constexpr char kClosing[] = "--\r\n";

std::string PartHeader(const std::string& name) {
    return "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
}

}  // namespace

void MultipartForm::AddField(const std::string& name, const std::string& value) {
    FormField& field = fields_[name];
    field.name = name;
    field.value = value;
    field.size = 0;
    field.header = PartHeader(name);
}

void MultipartForm::PrepareForm() {
    partBytesSent_ = -1;
    // A total left from an earlier post would announce a body that is not sent.
    totalLength_ = 0;
    current_ = 0;
    if (fields_.empty()) return;

    boundary_ = kBoundary;
    partBytesSent_ = 0;
    for (auto& [name, field] : fields_) {
        field.size = field.value.size();
        totalLength_ += boundary_.size() + 2 + field.header.size() + field.size + 2;
    }
    totalLength_ += boundary_.size() + 4;
}

bool MultipartForm::NextPiece(std::string& piece) {
    piece.clear();
    if (partBytesSent_ < 0 || current_ >= fields_.size()) return false;

    const FormField& field = std::next(fields_.begin(), static_cast<std::ptrdiff_t>(current_))->second;
    piece = boundary_ + kLineEnd + field.header + field.value.substr(0, field.size) + kLineEnd;
    partBytesSent_ = 0;
    if (++current_ == fields_.size()) piece += boundary_ + kClosing;
    return true;
}
