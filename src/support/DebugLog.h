#pragma once
// Wide output stream whose finished lines go to the debugger output, one OutputDebugStringW call a line.
#include <ostream>
#include <streambuf>
#include <string>

namespace kes {

template <class Char>
class basic_log_function {
public:
    virtual ~basic_log_function() = default;
    virtual void operator()(const Char* message) = 0;
};

template <class Char>
class log_to_win32_debugger : public basic_log_function<Char> {
public:
    // The stream calls write(); the virtual operation stays empty on purpose.
    void operator()(const Char*) override {}
    static void write(const Char* message);
};

// Tests redirect the debugger output here; nullptr means the real OutputDebugStringW.
using DebugLogSink = void (*)(const wchar_t* line);
DebugLogSink setDebugLogSink(DebugLogSink sink);

template <>
void log_to_win32_debugger<wchar_t>::write(const wchar_t* message);

template <class Char, class Log>
class basic_debuglog_buf : public std::basic_streambuf<Char> {
public:
    using int_type = typename std::basic_streambuf<Char>::int_type;
    using traits_type = std::char_traits<Char>;

    ~basic_debuglog_buf() override { sync(); }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return 0;
        line_.push_back(traits_type::to_char_type(c));
        if (traits_type::to_char_type(c) == Char('\n'))
            sync();
        return c;
    }

    int sync() override
    {
        if (!line_.empty()) {
            Log::write((prefix_ + line_).c_str());
            line_.clear();
        }
        return 0;
    }

private:
    std::basic_string<Char> line_;
    std::basic_string<Char> prefix_;
};

template <class Char, class Log>
class basic_debuglog_stream : public std::basic_ostream<Char> {
public:
    basic_debuglog_stream() : std::basic_ostream<Char>(nullptr) { this->init(&buf_); }
    // buf_ is destroyed first (members before bases), sending any unfinished line.

private:
    basic_debuglog_buf<Char, Log> buf_;
    Log log_;
};

using debuglog_stream = basic_debuglog_stream<wchar_t, log_to_win32_debugger<wchar_t>>;

} // namespace kes
