#pragma once
// Recording files ("*.dts"), the one format the console hands to the viewer:
// 56-byte records, little-endian, no header. Written from the work image,
// optionally from a start record that the user picked by its stamp.

#include "MemoryImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace logbridge {

constexpr std::size_t DtsRecordSize = 56;

// Bytes 4..7, 20..23 and 49..55 of the file are zero.
struct DtsRecord {
    int32_t TemperatureRounded = 0; // offset 0, ties to even
    double Temperature = 0;         // offset 8, °C
    int32_t HumidityRounded = 0;    // offset 16
    double Humidity = 0;            // offset 24, linear %
    double RecordDate = 0;          // offset 32, whole day count; the year is the device's 1..99
    double RecordTime = 0;          // offset 40, fraction of a day
    uint8_t RunNumber = 0;          // offset 48, record byte 10 minus 1, modulo 256
};

std::array<uint8_t, DtsRecordSize> EncodeDtsRecord(const DtsRecord &R);

// Fills Into from a memory record. Into carries the previous record: a date
// that cannot be built (day, month or year out of range) keeps the previous
// date and time; a valid date with an impossible time keeps the previous time.
void FillDtsRecord(DtsRecord &Into, const MemoryRecord &From);

struct TRecordingResult {
    int Processed = 0;     // records of the image looked at
    int Written = 0;       // records in the file
    std::string LastStamp; // stamp of the last record looked at (Label26)
    // False when a start text was given and no record's stamp occurs in it:
    // the writers then leave the file alone rather than write it empty.
    bool StartFound = true;
};

// Whether Text has the shape of a record stamp, dd.mm.20yy.  [hh:nn:ss].
bool IsRecordStamp(const std::string &Text);

// Told when the start text names no record; nothing is written then.
constexpr const char *NoStartRecordText =
    "Zapis od kog treba poceti nije pronadjen! Izaberite zapis klikom na levu ivicu "
    "izvestaja ili kliknite \"Selektuj sve\".";

// The bytes of the recording of the first ByteCount div 12 records of Image.
// An empty StartText keeps every record; otherwise writing starts at the
// first record whose stamp occurs in StartText (case-sensitive).
std::string RecordingBytes(const TImageBuffer &Image, int32_t ByteCount,
                           const std::string &StartText, TRecordingResult &Result);

// The file dialog of "Export DTS" (SaveDialog2); it sets no initial folder.
constexpr const char *DtsDefaultExt = "*.dts";
constexpr const char *DtsFilter = "Data fajlovi|*.dts|All files|*.*";
constexpr const char *DtsSaveTitle = "Snimanje DTS fajlova";

// "Export DTS": the work image to Path, unless the start is not found.
TRecordingResult ExportRecording(const TConsoleState &State, const std::string &Path,
                                 const std::string &StartText);

// "Prikazi Grafik": the work image to ProgramFolder + "/temp.dts", the file
// that the viewer loads when started with "/av".
std::string HandOverPath(const std::string &ProgramFolder);
TRecordingResult WriteHandOverRecording(const TConsoleState &State,
                                        const std::string &ProgramFolder,
                                        const std::string &StartText);

// How the viewer is started once the hand-over file is closed; starting it
// is the platform's. The console does not wait for it.
struct TViewerStart {
    std::string Program;                        // ProgramFolder + "/Plotview"
    std::string Parameters;                     // " /av", as the shell is given it
    std::vector<std::string> Arguments() const; // {"/av"}
};
TViewerStart ViewerStart(const std::string &ProgramFolder);

} // namespace logbridge
