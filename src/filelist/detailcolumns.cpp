#include "filelist/detailcolumns.h"

namespace {

struct DetailColumn {
    const char* key;
    const char* caption;
};
const DetailColumn kDetailColumns[] = {{"size", "Size"},         {"date", "Changed"}, {"attrib", "Attributes"},
                                       {"ext", "Extension"},     {"type", "Type"},    {"sizeb", "Size in Bytes"},
                                       {"dateb", "Date Sorting"}};

} // namespace

void addDetailColumns(platform::ListView* list, const int (&widths)[5])
{
    for (int c = 0; c < 7; ++c)
        list->addColumn(QString::fromLatin1(kDetailColumns[c].key), QString::fromLatin1(kDetailColumns[c].caption),
                        c < 5 ? widths[c] : 0);
}

void removeDetailColumns(platform::ListView* list)
{
    for (const DetailColumn& c : kDetailColumns)
        list->removeColumn(QString::fromLatin1(c.key));
}
