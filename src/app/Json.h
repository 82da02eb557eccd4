#pragma once

#include <string>
#include <string_view>

// A small streaming JSON writer: enough for the runner's descriptions.
class TJsonWriter {
public:
    std::string Text() const { return out_; }

    void BeginObject() { Value("{"), stack_ += 'o', first_ = true; }
    void EndObject() { Close('}'); }
    void BeginArray() { Value("["), stack_ += 'a', first_ = true; }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);

    void String(std::string_view s);
    void Number(double v);
    void Integer(long long v) { Value(std::to_string(v)); }
    void Bool(bool v) { Value(v ? "true" : "false"); }
    void Null() { Value("null"); }

    static std::string Quote(std::string_view s);

private:
    TJsonWriter& Value(const std::string& raw);
    void Close(char c);

    std::string out_;
    std::string stack_;
    bool first_ = true;
    bool afterKey_ = false;
};
