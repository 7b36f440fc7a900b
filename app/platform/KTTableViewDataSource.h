#pragma once

#include <cstdint>
#include <string>

class KTTableView;

// What a table asks of the object that fills it and follows its selection.
class KTTableViewDataSource {
public:
    virtual ~KTTableViewDataSource() = default;
    virtual std::int32_t numberOfRowsInTableView(KTTableView* tableView) = 0;
    // The row's text as UTF-8; column is the column's index.
    virtual std::string tableViewObjectValueForTableColumnRow(KTTableView* tableView, int column,
                                                              std::int32_t row) = 0;
    // Called after the user or the program changed the selected row.
    virtual void tableViewSelectionDidChange(void* notification) = 0;
};
