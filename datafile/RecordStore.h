#pragma once

#include <cstdint>
#include <string>

#include "common/Listeners.h"
#include "common/Result.h"
#include "datafile/DataFile.h"

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
    // Told of every change; checks and models of the file listen here.
    Listeners<Change> OnChange;

    std::int32_t CurRec = 1;
    // The end position: stored records + 1.
    std::int32_t EndRec = 1;
    std::string RecBuf;
    // The record as last read, written or committed; also the previous record that
    // duplication copies from.
    std::string OrigRec;
    std::string InsRecBuf;
    // RecBuf as the record was set up on the screen: what differs from it was keyed since.
    std::string SetUpBuf;
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

    // Shows record n on the entry screen; the end position shows a blank new record. False
    // (after telling the operator) when the record could not be read: then nothing changed.
    bool ViewRec(std::int32_t n);
    void GoBack();
    void GoFwd();
    void GoFirst();
    void GoEnd();
    void mnuInsRec_Click();
    void mnuDelRec_Click();
    // Puts the record in hand in at slot p, moving the stored records from p on one slot up,
    // in one step that a crash cannot split. False (after telling the operator) on failure.
    bool OpenGap(std::int32_t p);
    // Removes slot p, moving the later records down; the file loses its last slot.
    bool CloseGap(std::int32_t p);
    // After a record completed at the end: the new end position, blank.
    void NextRecord();
    // After the record in hand was stored at CurRec: the next stored record, or at the end
    // a new one. When the next record cannot be read, the stored one stays on the screen.
    void ShowNextAfterStoring();

    // A stored record is on the screen and differs from the file.
    bool changedStoredRecord() const;
    // Keyed work that is not stored would be lost by what comes next: the operator is
    // asked whether to goOn ("Exit", ...) anyway, No being the default. True to go on.
    bool MayDropRecordInHand(const std::string& goOn);

private:
    // Reads what the screen needs to show record n: the record itself, or at the end
    // position the previous one. False (after telling the operator) when it could not be
    // read; the record in hand is then untouched, and otherwise (by default: that the screen
    // stays on the record in hand) tells the operator what follows.
    bool fetch(std::int32_t n, const std::string& otherwise = {});
    // Record n, fetched, on the screen.
    void show(std::int32_t n);
    // GoBack and GoFirst: to stored record n, for correction.
    void stepBackTo(std::int32_t n);
    // Writes a changed stored record back before it is left. False when that failed.
    bool saveBeforeLeaving();
    void setEditMenu(bool correcting);
    void correctMessage();
    // Stamps the format letter and cleans RecBuf; gives the slot to write.
    std::string stampedSlot();
    // The record in hand was stored: shown as Previous, and listeners are told.
    void showStored(Change change);
    // Stepping, inserting and deleting need a file set up for keying and no insertion open.
    bool recordCommandsAllowed() const;
    DataFile::Progress progressFor(const std::string& label) const;
    void endProgress(const std::string& label) const;
    void reportSlotError(const std::string& what, std::int32_t n, const Error& err,
                         const std::string& after = {});

    Engine& m_e;
};
