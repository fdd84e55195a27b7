#pragma once

// What the viewer keeps with one point-cloud group (GPU buffer names, colouring
// ranges). The store owns it with the group and destroys it with the group; it
// never looks inside. Keying this data to the group object keeps it right when
// groups are inserted, merged or removed.
class GroupViewData {
public:
    virtual ~GroupViewData() = default;
};
