#pragma once

#include <cstdint>
#include <string>

#include "common/Listeners.h"
#include "datafile/DataFile.h"

class Engine;

// New, Open, Close and Save of the data file, and the file-level state.
class DataFileLifecycle
{
public:
    static constexpr const char* CaptionPrefix = "KORVALEN - ( Orlenmark ) ";

    explicit DataFileLifecycle(Engine& e) : m_e(e) {}

    std::string DataPath;     // the data directory, without a trailing separator
    std::string DataFilePath; // full path of the open data file, as chosen
    DataFile DataFileNo;
    std::int64_t DataFileLen = 0;
    bool NewFileFlag = false;

    void mnuNew_Click();
    void mnuOpen_Click();
    void OpenDataFile(const std::string& path);
    void mnuClose_Click();
    // Closes the open file without a question: what Close, Cut and Exit do once asked.
    void CloseFile();
    // Forces the written records to the disk; false (after telling the operator) on failure.
    bool SaveData_Click();
    // The toolbar's Save: the same, then "File Saved" on the message line once it is done.
    bool ImgFileSave_Click();

    // A name whose file name holds no "." gets ".dat".
    static std::string WithDefaultExtension(const std::string& name);
    // The data folder as a path that can be opened.
    std::string DataDir() const;
    // Path of FILE.FMT in the data directory.
    std::string FormatFilePath() const;
    // Loads the named format, clearing the surface first; tells the operator on failure.
    bool LoadFormat(const std::string& name);

    // A file is open and its entry screen set up: records may be keyed, stepped through,
    // inserted and deleted.
    bool ReadyForKeying() const { return m_setUp && DataFileNo.isOpen(); }
    // A write to the disk failed: the operator is asked to close the file.
    void ReportUntrusted();

    // A file was set up for keying, or the one set up is no more: models of its records
    // start again from the file.
    enum class Event { SetUp, Closed };
    Listeners<Event> OnEvent;

private:
    Engine& m_e;
    void disableRecordCommands();
    void open();
    // The file set up for keying is no more; listeners are told.
    void tearDown();

    std::string m_lastOpenName;
    bool m_setUp = false;
};
