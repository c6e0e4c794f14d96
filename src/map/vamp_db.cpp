#include "map/vamp_db.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/prompts.h"
#include "common/record_io.h"

namespace zeko {

namespace {

constexpr std::string_view kFileName = "VAMP.dat";
constexpr std::string_view kScratchName = "VAMP.da_";

using RecordBytes = std::array<uint8_t, kVampRecordBytes>;

template <class IO, class Vamp>
void visit_fields(IO& io, Vamp& v) {
    io.field(v.HANDLE);
    io.field(v.RESERVED);
    io.field(v.HANDLE_LEN);
    io.field(v.NAME);
    io.field(v.NAME_LEN);
    io.field(v.PASSWORD);
    io.field(v.PASSWORD_LEN);
    io.field(v.POS_X);
    io.field(v.POS_Y);
    io.field(v.DEST_X);
    io.field(v.DEST_Y);
    io.field(v.AUTOLOGIN);
    io.field(v.DELETED);
}

void check_errno(int error) {
    if (error != 0) raise_errno(error);
}

// A scratch file left by an interrupted compaction may hold records of an older state and
// looser permissions: it goes, and a fresh one is made. Deleting it (rather than truncating
// through the name) never follows a link elsewhere, and refuses a directory.
void remove_stale_scratch(FileLayer& files, const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
        delete_file(files, path);
}

// Older versions deleted the database before copying the scratch file over it, and one that
// stopped in between left the characters only in the scratch file: take them back rather
// than start an empty database (and later throw the scratch file away).
void adopt_orphaned_scratch(FileLayer& files, const std::filesystem::path& database,
                            const std::filesystem::path& scratch) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(database, ec)) &&
        std::filesystem::is_regular_file(std::filesystem::symlink_status(scratch, ec)))
        rename_file(files, scratch, database);
}

}  // namespace

std::string VAMP::handle() const {
    return read_fixed(HANDLE, HANDLE_LEN);
}
std::string VAMP::name() const {
    return read_fixed(NAME, NAME_LEN);
}
std::string VAMP::password() const {
    return read_fixed(PASSWORD, PASSWORD_LEN);
}
std::string VAMP::handle_field() const {
    return from_cp1252(std::string_view(HANDLE.data(), HANDLE.size()));
}

void VAMP::set_handle(std::string_view utf8) {
    assign_fixed(HANDLE, HANDLE_LEN, utf8);
}
void VAMP::set_name(std::string_view utf8) {
    assign_fixed(NAME, NAME_LEN, utf8);
}
void VAMP::set_password(std::string_view utf8) {
    assign_fixed(PASSWORD, PASSWORD_LEN, utf8);
}

std::array<uint8_t, kVampRecordBytes> encode_vamp(const VAMP& v) {
    RecordBytes out{};
    RecordWriter w(out);
    visit_fields(w, v);
    return out;
}

VAMP decode_vamp(std::span<const uint8_t, kVampRecordBytes> bytes) {
    VAMP v;
    RecordReader r(bytes);
    visit_fields(r, v);
    return v;
}

VampDb::VampDb(std::filesystem::path folder, Services& services, FileLayer& files)
    : folder_(std::move(folder)), services_(services), files_(&files) {}

std::filesystem::path VampDb::file_path() const {
    return resolve_in_folder(folder_, kFileName);
}

std::filesystem::path VampDb::scratch_path() const {
    return resolve_in_folder(folder_, kScratchName);
}

RecordFile VampDb::open_database() {
    adopt_orphaned_scratch(*files_, file_path(), scratch_path());
    RecordFile file(*files_, file_path(), kVampRecordBytes, kVampFileMode);
    // A database made by an older version, or copied in, may be readable by others. Only the
    // owner can tighten it; for anyone else the file stays usable as it is.
    attempt([&] { file.set_mode(kVampFileMode); });
    return file;
}

void VampDb::report(const RuntimeError& error, std::string_view procedure) {
    if (services_.prompts) show_procedure_error(*services_.prompts, error, procedure);
}

void VampDb::tell(std::string_view text, std::string_view title) {
    if (services_.prompts)
        services_.prompts->message_box(text, MsgButtons::OK, MsgIcon::Information, title);
}

void VampDb::LOAD_DB() {
    load();
}

bool VampDb::load() {
    try {
        for (;;) {
            int16_t count = 0;
            {
                RecordFile file = open_database();
                count = record_count(file.length(), kVampRecordBytes);
                if (count > 0) {
                    // Read everything before touching memory: a load that fails half-way
                    // must not leave blank records that the next SAVE_DB would write out.
                    // The records follow one another without gaps, so one read from record
                    // 1 takes them all (a partial last record comes back padded with 0).
                    std::vector<uint8_t> bytes(static_cast<size_t>(count) * kVampRecordBytes);
                    file.read_record(1, bytes);
                    file.close();
                    VbArray<VAMP> records(1, count);
                    for (int i = 1; i <= count; ++i) {
                        const size_t at = static_cast<size_t>(i - 1) * kVampRecordBytes;
                        records(i) = decode_vamp(std::span<const uint8_t, kVampRecordBytes>(
                            bytes.data() + at, kVampRecordBytes));
                    }
                    VAMPS = std::move(records);
                    VAMP_COUNT = count;
                    if (vamp_list) {
                        vamp_list->clear();
                        for (int i = 1; i <= count; ++i)
                            vamp_list->add_item(VAMPS(i).handle_field(), i);
                    }
                    return true;
                }
            }
            // The file is closed here: the dialog creates the first character through
            // CREATE_DB, which rewrites it.
            VAMP_COUNT = count;
            if (CREATE_OFFERED) return true;
            CREATE_OFFERED = true;
            if (new_vamp_dialog) new_vamp_dialog->show_modal();
        }
    } catch (...) {
        report(as_runtime_error(std::current_exception()), "LOAD_DB");
        return false;
    }
}

void VampDb::SAVE_DB() {
    try {
        write_all();
    } catch (...) {
        report(as_runtime_error(std::current_exception()), "SAVE_DB");
    }
}

void VampDb::write_all() {
    RecordFile file = open_database();
    for (int i = 1; i <= VAMP_COUNT; ++i)
        file.write_record(i, encode_vamp(VAMPS(i)));
    file.close();
}

void VampDb::CLEAN_DB() {
    if (compact()) load();
}

bool VampDb::compact() {
    std::filesystem::path scratch;
    bool scratch_made = false;
    bool replaced = false;
    try {
        RecordFile source = open_database();
        const std::filesystem::path target = file_path();
        scratch = scratch_path();
        remove_stale_scratch(*files_, scratch);
        RecordFile kept(*files_, scratch, kVampRecordBytes, kVampFileMode);
        scratch_made = true;
        kept.truncate();

        const int16_t n = record_count(source.length(), kVampRecordBytes);
        RecordBytes buffer{};
        int64_t j = 0;
        for (int i = 1; i <= n; ++i) {
            source.read_record(i, buffer);
            if (decode_vamp(buffer).DELETED == 0) kept.write_record(++j, buffer);
        }
        // The characters must be on the disk before the scratch file takes the database's
        // place; the rename then swaps them in one step, so a crash leaves either file whole.
        kept.sync();
        kept.close();
        source.close();
        check_errno(files_->rename(scratch, target));
        replaced = true;
        check_errno(files_->sync_folder(target.parent_path()));
        return true;
    } catch (...) {
        const RuntimeError error = as_runtime_error(std::current_exception());
        // The database is untouched; a half-written copy of the passwords is not left behind.
        if (scratch_made && !replaced) files_->remove(scratch);
        report(error, "CLEAN_DB");
        // The compacted file is in place, only perhaps not yet on the disk: memory follows it.
        return replaced;
    }
}

VbBool VampDb::CHECK_NEW_VAMP(VAMP record) {
    // The compaction reloads the characters from the file: what was changed in memory since
    // the last save (an edit, a position) is saved first so that it is not lost. A save that
    // fails stops the creation rather than throw the changes away.
    write_all();
    CLEAN_DB();
    for (int i = 1; i <= VAMP_COUNT; ++i) {
        const VAMP& stored = VAMPS(i);
        if (record.HANDLE == stored.HANDLE) {
            tell("The handle you have selected is already in use, please try another.",
                 "Sorry mr. Smith...");
            return kFalse;
        }
        if (record.AUTOLOGIN == kTrue && record.NAME == stored.NAME) {
            tell(
                "The vampire you are entering is already listed in the database. Their handle "
                "is " +
                    stored.handle_field() + ". To alter this record, please select Edit Vampire.",
                "They cloned me! Wait, am I me, or is he me?");
            return kFalse;
        }
    }
    return kTrue;
}

int16_t VampDb::CREATE_DB(VAMP record) {
    try {
        if (CHECK_NEW_VAMP(record) != kTrue) return 0;
        // The count in memory changes only with the reload, so a failed write leaves it
        // matching `VAMPS`.
        const int16_t index = add16(VAMP_COUNT, 1);
        {
            RecordFile file = open_database();
            file.write_record(index, encode_vamp(record));
            file.close();
        }
        // Without the reload the index would name no record in memory.
        if (!load()) return 0;
        return VAMP_COUNT;
    } catch (...) {
        report(as_runtime_error(std::current_exception()), "CREATE_DB");
        return 0;
    }
}

}  // namespace zeko
