// The numbered resources of the runtime as the builder knows them: which
// are texts, which a patch must give, and a short role for messages.
#pragma once

enum class ResourceForm { Text, Bytes, Number, Cabinet, Seal };

struct ResourceInfo {
    unsigned id;
    ResourceForm form;
    bool required;
    const char* role;
};

// Null when the runtime reads no resource with that number.
const ResourceInfo* FindResourceInfo(unsigned id);
// Every resource of the table, in ascending order; `count` receives its size.
const ResourceInfo* AllResourceInfo(unsigned& count);
