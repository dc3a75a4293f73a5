// The body of a multipart/form-data POST, produced one part at a time.
// Platform-free.
//
// Threading: a form belongs to its owner's thread. It can be posted several
// times: every post prepares it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

struct FormField {
    std::string name;
    std::string value;
    std::string header;  // the part's Content-Disposition line and blank line
    uint64_t size = 0;   // bytes of value sent; set by PrepareForm
};

class MultipartForm {
public:
    // A new name adds a part; a known name replaces that part's value.
    void AddField(const std::string& name, const std::string& value);

    // Computes the boundary and the total length and rewinds to the first part.
    // A form without fields stays unprepared and announces a length of 0.
    void PrepareForm();

    // The next piece of the body (one whole part, the last one followed by the
    // closing boundary), or false at the end or when the form is not prepared.
    bool NextPiece(std::string& piece);

    const std::string& Boundary() const { return boundary_; }
    uint64_t TotalLength() const { return totalLength_; }

private:
    // Parts go on the wire in byte order of their names.
    std::map<std::string, FormField> fields_;
    size_t current_ = 0;          // index of the part NextPiece emits next
    int64_t partBytesSent_ = -1;  // -1 while not prepared
    std::string boundary_;
    uint64_t totalLength_ = 0;
};
