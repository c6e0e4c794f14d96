#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/conversions.h"
#include "common/file_layer.h"
#include "common/services.h"
#include "common/vb_array.h"

namespace zeko {

class RecordFile;
class RuntimeError;

inline constexpr int kVampRecordBytes = 165;

// The database holds passwords in plain text: only its owner may read it.
inline constexpr mode_t kVampFileMode = 0600;

// The main window's character list `lstVAMP`: each entry carries the record index as its
// item data, never its position.
class CharacterList {
  public:
    virtual ~CharacterList() = default;
    virtual void clear() = 0;
    virtual void add_item(std::string_view text, int32_t item_data) = 0;
};

// The new-character dialog, shown modally without an owner when the database is empty.
class NewCharacterDialog {
  public:
    virtual ~NewCharacterDialog() = default;
    virtual void show_modal() = 0;
};

// One character. Text fields hold their fixed width of 8-bit characters (Windows-1252),
// blank-padded, exactly as on disk; the length bytes hold the length as typed.
struct VAMP {
    std::array<char, 49> HANDLE;
    uint8_t RESERVED = 0;
    uint8_t HANDLE_LEN = 0;
    std::array<char, 50> NAME;
    uint8_t NAME_LEN = 0;
    std::array<char, 50> PASSWORD;
    uint8_t PASSWORD_LEN = 0;
    int16_t POS_X = 100;
    int16_t POS_Y = 100;
    int16_t DEST_X = 0;
    int16_t DEST_Y = 0;
    VbBool AUTOLOGIN = kFalse;
    VbBool DELETED = kFalse;

    VAMP() {
        HANDLE.fill(' ');
        NAME.fill(' ');
        PASSWORD.fill(' ');
    }

    // The texts as a reader takes them (the first length-byte characters), in UTF-8.
    std::string handle() const;
    std::string name() const;
    std::string password() const;
    // The whole 49-character handle field, padding included, as the list shows it.
    std::string handle_field() const;

    // Assign a text: cut or padded to the field, the length byte set to its length (at most
    // 255).
    void set_handle(std::string_view utf8);
    void set_name(std::string_view utf8);
    void set_password(std::string_view utf8);

    bool operator==(const VAMP&) const = default;
};

// The record as it stands in the file and back; every byte survives the round trip.
std::array<uint8_t, kVampRecordBytes> encode_vamp(const VAMP& v);
VAMP decode_vamp(std::span<const uint8_t, kVampRecordBytes> bytes);

// The character database `VAMP.dat` and the characters in memory.
class VampDb {
  public:
    VampDb(std::filesystem::path folder, Services& services, FileLayer& files = posix_files());
    void use_files(FileLayer& files) { files_ = &files; }

    // LOAD_DB, SAVE_DB, CLEAN_DB and CREATE_DB show their own error box and never throw.
    void LOAD_DB();
    void SAVE_DB();
    void CLEAN_DB();
    // The index of the new record, or 0 when it was refused or an error occurred. The record
    // is taken by value: it may well be one of `VAMPS`, which the reload replaces.
    int16_t CREATE_DB(VAMP record);
    // Has no trap of its own: an error (other than those CLEAN_DB reports itself) is thrown.
    VbBool CHECK_NEW_VAMP(VAMP record);

    // VAMPS(CUR_VAMP); raises subscript out of range when there is no such record.
    VAMP& current() { return VAMPS(CUR_VAMP); }

    std::filesystem::path file_path() const;
    std::filesystem::path scratch_path() const;

    VbArray<VAMP> VAMPS{1, 0};
    int16_t VAMP_COUNT = 0;
    int16_t CUR_VAMP = 0;
    int16_t SEL_VAMP = 0;
    bool CREATE_OFFERED = false;

    // The windows fill these in once they exist; until then the steps that need them do
    // nothing.
    CharacterList* vamp_list = nullptr;
    NewCharacterDialog* new_vamp_dialog = nullptr;

  private:
    RecordFile open_database();
    // LOAD_DB, telling whether it got through.
    bool load();
    // SAVE_DB without its trap.
    void write_all();
    // Compaction without the reload; true once the compacted file has taken the database's
    // place (even when making that durable failed and was reported).
    bool compact();
    void report(const RuntimeError& error, std::string_view procedure);
    void tell(std::string_view text, std::string_view title);

    std::filesystem::path folder_;
    Services& services_;
    FileLayer* files_;
};

}  // namespace zeko
