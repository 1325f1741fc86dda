#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FormatDef;
class FormatState;

// One field of a pair as the batch commands see it.
struct LayoutField {
    int number = 0; // from 1 along the format line, as the status bar counts
    int start = 0;  // first record position, from 1
    int len = 0;
    char type = ' ';
    std::string picture; // its part of the format line
    std::string name;    // the heading words above it, else F<number>
};

// The fields of one pair, without the last position's format letter.
struct PairLayout {
    char letter = 'a';
    std::string formatLine;
    std::vector<LayoutField> fields;
};

// The record layout of every pair of a format, built from the same field table the
// keying engine uses.
class RecordLayout
{
public:
    static RecordLayout Of(const FormatDef& def);
    // The same of the format the station has loaded.
    static RecordLayout Of(FormatState loaded);

    int recLen() const { return m_recLen; }
    const std::vector<PairLayout>& pairs() const { return m_pairs; }
    // The pair a record's last character names; nullptr for a letter of no pair.
    const PairLayout* pairOf(char letter) const;
    // The letters of the pairs: "a", "ab", ...
    std::string letters() const;

    // Field names from a heading line: each word goes to the field it overlaps most, a
    // field's words joined by a blank; the dots that fill a word out are dropped.
    static std::vector<std::string> Names(const std::vector<LayoutField>& fields,
                                          std::string_view heading);

private:
    int m_recLen = 0;
    std::vector<PairLayout> m_pairs;
};
