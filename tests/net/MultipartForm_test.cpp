#include "net/MultipartForm.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Body(MultipartForm& form) {
    std::string body;
    std::string piece;
    while (form.NextPiece(piece))
        body += piece;
    return body;
}

const std::string kBoundary = "-----------------------------7da1f4c300560";

TEST(MultipartForm, OneFieldIs143Bytes) {
    MultipartForm form;
    form.AddField("app_id", "12");
    form.PrepareForm();
    const std::string body = Body(form);
    EXPECT_EQ(form.TotalLength(), 143u);
    EXPECT_EQ(body,
              kBoundary + "\r\nContent-Disposition: form-data; name=\"app_id\"\r\n\r\n12\r\n" + kBoundary + "--\r\n");
    EXPECT_EQ(body.size(), 143u);
}

TEST(MultipartForm, PartsInNameOrderAndLastValueWins) {
    MultipartForm form;
    form.AddField("b", "second");
    form.AddField("a", "one");
    form.AddField("b", "two");
    form.PrepareForm();
    const std::string body = Body(form);
    EXPECT_EQ(body, kBoundary + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\none\r\n" + kBoundary +
                        "\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\ntwo\r\n" + kBoundary + "--\r\n");
    EXPECT_EQ(body.size(), form.TotalLength());
}

TEST(MultipartForm, PostedAgainGivesTheSameBody) {
    MultipartForm form;
    form.AddField("k", std::string("v\0w", 3));
    form.PrepareForm();
    const std::string first = Body(form);
    form.PrepareForm();
    EXPECT_EQ(Body(form), first);
    EXPECT_EQ(first.size(), form.TotalLength());
}

TEST(MultipartForm, UnpreparedOrEmptyFormHasNoPieces) {
    MultipartForm form;
    std::string piece = "stale";
    EXPECT_FALSE(form.NextPiece(piece));
    EXPECT_TRUE(piece.empty());
    form.PrepareForm();
    EXPECT_EQ(form.TotalLength(), 0u);
    EXPECT_FALSE(form.NextPiece(piece));

    form.AddField("a", "1");
    EXPECT_FALSE(form.NextPiece(piece));  // added but not prepared
}

}  // namespace
