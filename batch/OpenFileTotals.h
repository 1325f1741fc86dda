#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "batch/FieldTotals.h"
#include "batch/RecordLayout.h"
#include "batch/RunningTotals.h"
#include "common/Result.h"
#include "common/Subscription.h"
#include "datafile/DataFileLifecycle.h"
#include "datafile/RecordStore.h"

class Engine;

// The running totals of the file the station has set up for keying: the numeric fields of its
// format to choose from, and the totals of the one chosen. The file is read when a field is
// chosen or a file set up, at the next update; after that only the records stored, inserted
// and deleted change the figures. The choice stays while the station runs, for each file of
// the same format; a file of another format starts at its first numeric field.
class OpenFileTotals
{
public:
    struct Choice {
        char pair = 'a';
        int field = 0;     // from 1 along the format line
        std::string label; // "QTY (41-45)"; with the format number where there are several
        bool operator==(const Choice&) const = default;
    };

    explicit OpenFileTotals(Engine& e);

    // Told whenever the figures may have changed: a record stored, inserted or deleted, a file
    // set up or closed, another field chosen. Never for a key.
    std::function<void()> OnChange;

    bool fileOpen() const { return m_open; }
    const std::string& path() const { return m_path; }
    const std::string& formatName() const { return m_format; }
    // The numeric fields of the open file's format, pair by pair.
    const std::vector<Choice>& choices() const { return m_choices; }
    // Into choices; -1 when there is none to choose.
    int chosen() const { return m_chosen; }
    void choose(int index);

    // Reads the file where the figures need it; cheap when they are up to date.
    void update();
    // The chosen field's figures as the last update left them: an error when the file could
    // not be read or the sum is too large.
    Result<Totals> figures() const;

private:
    void setUp();
    void closed();
    void changed(const RecordStore::Change& change);
    void tell() const;

    Engine& m_e;
    bool m_open = false;
    std::string m_path;
    std::string m_format;
    RecordLayout m_layout;
    std::vector<Choice> m_choices;
    int m_chosen = -1;
    std::optional<Choice> m_wanted; // the operator's last choice, for the next file
    std::optional<RunningTotals> m_running;
    std::optional<Error> m_readError;
    bool m_stale = false; // the file is to be read at the next update
    Subscription m_files;
    Subscription m_slots;
};
