#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/FileHandle.h"
#include "common/Result.h"

class FileIo;

// Reads a CSV file (RFC 4180: quoted fields, doubled quotes, CR LF or LF line ends, a last
// line without one) a row at a time from large blocks, so memory stays the same whatever the
// file's size. The file is read as long as it was when opened: a log still being written is
// read up to where it stood.
class CsvReader
{
public:
    static constexpr std::size_t BlockBytes = 1 << 20;
    // A row is cut off here and called malformed: a quote left open would otherwise take the
    // rest of the file into memory as one field.
    static constexpr std::size_t RowBytes = 1 << 16;

    // Opens path for reading; only a regular file opens.
    static Result<CsvReader> Open(FileIo& io, const std::string& path);

    // Reads the next row; false at the end of the file. Blank lines are passed over.
    Result<bool> next();
    // The fields of the row read last, their quotes taken off.
    std::span<const std::string> fields() const { return {m_fields.data(), m_used}; }
    // The line the row starts on, from 1; a quoted line end counts as a line.
    std::int64_t line() const { return m_line; }
    // What is wrong with the row's quoting or length; empty when nothing.
    const std::string& fault() const { return m_fault; }

private:
    CsvReader(FileIo& io, FileHandle file, std::int64_t length)
        : m_io(&io), m_file(std::move(file)), m_length(length)
    {
    }
    // The next byte, or -1 at the end of the file or after a failed read (m_readError).
    int get();
    int peek();
    Result<void> fill();
    void newField();
    void put(char c);
    void mark(const char* fault);

    FileIo* m_io;
    FileHandle m_file;
    std::int64_t m_length = 0;
    std::string m_block;
    std::size_t m_pos = 0;
    std::int64_t m_readAt = 0;
    Result<void> m_readError;

    std::vector<std::string> m_fields;
    std::size_t m_used = 0;
    std::size_t m_rowBytes = 0;
    std::int64_t m_line = 0;
    std::int64_t m_nextLine = 1;
    std::string m_fault;
};
