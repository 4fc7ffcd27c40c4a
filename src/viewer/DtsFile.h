#pragma once
// Recording files ("*.dts"): a plain sequence of 56-byte records, little-endian,
// without header. The viewer only reads them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr std::size_t DtsRecordSize = 56;

struct DtsRecord {
    int32_t TemperatureRounded = 0;
    double Temperature = 0;
    int32_t HumidityRounded = 0;
    double Humidity = 0;
    double RecordDate = 0; // whole day count
    double RecordTime = 0; // fraction of a day
    uint8_t RunNumber = 0;
};

// Decodes one record from DtsRecordSize bytes.
DtsRecord DecodeDtsRecord(const unsigned char *Bytes);

struct DtsFileContents {
    std::vector<DtsRecord> Records; // at most the limit asked for
    std::size_t RecordsInFile = 0;  // whole records the file holds; a partial tail is not one
};

// Reads the whole records of Path, at most MaxRecords of them. The file is
// opened for reading only, so read-only recordings load. Progress, when set,
// gets (0, Total) once the number of records to read is known, then the
// number read so far and Total once per record. Raises
// EInOutError with a readable message when the file cannot be opened or read;
// nothing is returned in that case.
using TReadProgress = std::function<void(int Done, int Total)>;
DtsFileContents ReadDtsFile(const std::string &Path, std::size_t MaxRecords,
                            const TReadProgress &Progress = {});
