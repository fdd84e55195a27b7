#pragma once

#include "outside/CGradationSetting.h"

#include <optional>
#include <string>
#include <string_view>

// The rules of the colour gradation dialog on its own copy of the gradation
// store: which changes a setting takes, the messages of the refused ones, and
// the colour bar. Built-in settings (ids 1 to 3) refuse every change on every
// path; the stops at 255 and 0 keep their levels and cannot be deleted. Loops
// use the stop list's own size, never the stored count.
class GradationEditor {
public:
    enum class Result { Unchanged, Refused, Changed };

    explicit GradationEditor(CGradationSetting& store) : m_store(store) {}

    const CGradationSetting::Setting* Current() const;
    bool ReadOnly() const;
    int StopCount() const;
    std::optional<ColorConf> Stop(int row) const;

    //! "色調削除" is enabled for a selected row whose level is neither 0 nor 255.
    bool CanDeleteStop(int row) const;
    //! Starting an in-place edit: false (with a message for the fixed stops) when refused.
    bool CanEditLevel(int row) const;
    //! The edited level text of a row; the row's position after sorting is not tracked.
    Result Relevel(int row, std::string_view text);
    bool SetStopColour(int row, COLORREF colour);
    //! A new stop; the new stop's row, or nullopt when refused.
    std::optional<int> AddStop(int level, COLORREF colour);
    //! Asks first; true when the stop was removed.
    bool DeleteStop(int row);
    //! Registers a copy of the current setting; the new index, or nullopt when refused.
    std::optional<int> Register(const std::string& name);
    //! Asks first; true when the current setting was removed.
    bool DeleteCurrentSetting();
    void Select(int index);

    //! What a key pressed while no level is being edited does: passes on (moves,
    //! letters, F1, the number pad's operators), starts the editor on the selected
    //! row with its digit, or starts it with the row's level selected (F2 and the
    //! keys above it: punctuation, lock and media keys).
    enum class LevelKey { Pass, Digit, Level };
    static LevelKey KeyStartsLevelEdit(int qtKey, bool keypad, bool alt);

    //! Colour of a level (0..255) of the current setting, channels rounded to bytes.
    COLORREF LevelColour(double level) const;
    //! A typed setting name cut to 260 CP932 bytes without splitting a character, trimmed.
    static std::string CutName(std::string_view typed);
    //! Larger levels first; stops of equal level keep their order.
    static void SortStops(std::vector<ColorConf>& stops);

private:
    CGradationSetting::Setting* Editable();
    CGradationSetting& m_store;
};
