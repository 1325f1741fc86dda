#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/Result.h"

class Engine;

// The record in hand and the record slots of the open data file: reading and writing a
// slot, stepping between stored records, inserting and deleting.
class RecordStore
{
public:
    explicit RecordStore(Engine& e) : m_e(e) {}

    // A change to the file's slots that the operator's work made and the file took.
    struct Change {
        enum class Kind { Written, Inserted, Deleted } kind;
        std::int32_t slot;
        std::string bytes; // the slot's RecLen characters and CR LF; empty for Deleted
    };
    // Told of every change; checks that keep a model of the file listen here.
    std::function<void(const Change&)> OnChange;

    std::int32_t CurRec = 1;
    // The end position: stored records + 1.
    std::int32_t EndRec = 1;
    std::string RecBuf;
    // The record as last read, written or committed; also the previous record that
    // duplication copies from.
    std::string OrigRec;
    std::string InsRecBuf;
    bool CorrectMode = false;
    bool InsertPending = false;

    // Reads slot n into RecBuf and OrigRec and takes FmtNo from its format letter.
    Result<void> ReadRecord(std::int32_t n);
    // Stamps the format letter, cleans RecBuf and writes it to slot n; shown as Previous.
    Result<void> WriteRecord(std::int32_t n);
    // WriteRecord, telling the operator when it fails. False on failure.
    bool WriteRecordOrReport(std::int32_t n);
    // Control characters and codes above 128 become blanks.
    static void CleanRecord(std::string& s);

    // Shows record n on the entry screen; the end position shows a blank new record.
    void ViewRec(std::int32_t n);
    void GoBack();
    void GoFwd();
    void GoFirst();
    void GoEnd();
    void mnuInsRec_Click();
    void mnuDelRec_Click();
    // Moves the stored records from p on one slot up.
    bool OpenGap(std::int32_t p);
    // Removes slot p, moving the later records down; the file loses its last slot.
    bool CloseGap(std::int32_t p);
    // After a record completed at the end: the new end position, blank.
    void NextRecord();

    // A stored record is on the screen and differs from the file.
    bool changedStoredRecord() const;

private:
    // GoBack and GoFirst: to stored record n, for correction.
    void stepBackTo(std::int32_t n);
    // Writes a changed stored record back before it is left. False when that failed.
    bool saveBeforeLeaving();
    void setEditMenu(bool correcting);
    void correctMessage();
    // Re-reads the record count from the file after a failed slot move.
    void recountRecords();
    void notify(const Change& change) const
    {
        if (OnChange)
            OnChange(change);
    }
    void reportSlotError(const std::string& what, std::int32_t n, const Error& err);

    Engine& m_e;
};
