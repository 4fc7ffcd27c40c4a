#include "SimFaults.h"

namespace orvasim {

std::vector<TChunk> Transmit(const TResponse &Response, const TFaults &Faults, int64_t NowMs)
{
    std::vector<TChunk> chunks;
    if (Faults.Silent)
        return chunks;
    const int64_t due = NowMs + Faults.LateMs;
    if (!Response.Reply.empty()) {
        TChunk reply{due, Response.Reply, false};
        if (Faults.Garbage)
            for (uint8_t &b : reply.Bytes)
                b = uint8_t(~b);
        chunks.push_back(std::move(reply));
    }
    if (Response.Streams) {
        TChunk stream{due, Response.Stream, true};
        if (Faults.StreamLimit && stream.Bytes.size() > *Faults.StreamLimit)
            stream.Bytes.resize(*Faults.StreamLimit);
        chunks.push_back(std::move(stream));
    }
    return chunks;
}

} // namespace orvasim
