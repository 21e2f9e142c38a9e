#include "codeplug/defaults.h"

#include "codeplug/models.h"

namespace qx {

Channel DefaultChannel(int model) {
    Channel channel;
    if (const ModelInfo* info = ModelAt(model)) {
        channel.step = info->defaultStep;
        channel.rx = info->defaultFrequency;
        channel.tx = info->defaultFrequency;
    }
    return channel;
}

Codeplug NewCodeplug(int model) {
    Codeplug codeplug;
    codeplug.model = model;
    for (int row = 1; row <= kPhRow; ++row) codeplug.Row(row).Clear();
    const ModelInfo* info = ModelAt(model);
    if (info == nullptr || info->channelZeroInUse) {
        codeplug.Memory(0) = DefaultChannel(model);
        codeplug.Memory(0).inUse = true;
    }
    for (int row : {kCallRow, kVfoRow}) {
        codeplug.Row(row) = DefaultChannel(model);
        codeplug.Row(row).inUse = true;
    }
    return codeplug;
}

void PutInUse(Channel& channel, int model) {
    if (channel.blank) {
        Channel values = DefaultChannel(model);
        values.signal.code = channel.signal.code;
        values.signal.subCode = channel.signal.subCode;
        channel = values;
    }
    channel.inUse = true;
}

}  // namespace qx
