#pragma once
// Members and donations the filter tests search, written into a copy of the template (member 1
// comes with it). Chosen so that each criterion has members or donations it must find and
// near misses it must not: letter case, apostrophes, other alphabets, the dialect's wildcard
// characters typed literally, cents at the edges of a range, a time of day.
//
//   id  name             address               city         donations (id amount check destination date)
//   2   Ann Adams        12 Main St            Boston       1 $100.00 1001 Roof Fund 1/1/2001
//                                                           2 $150.50 1002 New Roof 6/15/2001
//   3   Anna Smith       5 Elm St #4           Boston       3 $10.50 17 Fund #2 12/31/2001
//                                                           4 $19.99 18 Fund 22 1/1/2002
//   4   Seán O'Brien     7 Oak Rd              Cambridge    5 $500.00 2000 St. Mary's Fund 12/31/2000
//   5   Émile Émond      3 Rue de Paris        Montréal     9 $25.00 21 Ελληνικά 7/4/2001
//   6   Sam Smythe       1 Main Street         boston       6 $11.00 (none) roof 3/3/2001 10:30
//                                                           7 $20.00 19 General [old] 5/5/2001
//   7   Jürgen MÜLLER    (empty)               Springfield  none
//   8   Zoë Sanders      9 [Old] Mill Rd       Bosworth     none
//   9   Bob Brown        1 Main St Suite 14    Springfield  8 $10.00 20 50% Match 2/28/2001
#include "platform/dao/sqlite.h"

namespace filtertest {

inline void writeFilterData(sqlite::Connection& c)
{
    for (const char* sql : {
             "INSERT INTO Members VALUES (2, 'Ann', 'Adams', '12 Main St', 'Boston', 'MA', '02108', '617-555-0101', 'Usher')",
             "INSERT INTO Members VALUES (3, 'Anna', 'Smith', '5 Elm St #4', 'Boston', 'MA', '02108', '617-555-0102', 'Prefers mail')",
             "INSERT INTO Members VALUES (4, 'Seán', 'O''Brien', '7 Oak Rd', 'Cambridge', 'MA', '02139', '617-555-0103', '')",
             "INSERT INTO Members VALUES (5, 'Émile', 'Émond', '3 Rue de Paris', 'Montréal', 'QC', 'H2X 1Y4', '514-555-0104', '')",
             "INSERT INTO Members VALUES (6, 'Sam', 'Smythe', '1 Main Street', 'boston', 'MA', '02108', '617-555-0105', '')",
             "INSERT INTO Members VALUES (7, 'Jürgen', 'MÜLLER', '', 'Springfield', 'IL', '62701', '217-555-0106', '')",
             "INSERT INTO Members VALUES (8, 'Zoë', 'Sanders', '9 [Old] Mill Rd', 'Bosworth', 'MA', '01000', '413-555-0107', '')",
             "INSERT INTO Members VALUES (9, 'Bob', 'Brown', '1 Main St Suite 14', 'Springfield', 'MA', '01101', '413-555-0108', 'Gives 50% in spring')",
             // Money is stored in ten-thousandths.
             "INSERT INTO Payments VALUES (1, 1000000, 1001, 'Roof Fund', '2001-01-01 00:00:00', 2)",
             "INSERT INTO Payments VALUES (2, 1505000, 1002, 'New Roof', '2001-06-15 00:00:00', 2)",
             "INSERT INTO Payments VALUES (3, 105000, 17, 'Fund #2', '2001-12-31 00:00:00', 3)",
             "INSERT INTO Payments VALUES (4, 199900, 18, 'Fund 22', '2002-01-01 00:00:00', 3)",
             "INSERT INTO Payments VALUES (5, 5000000, 2000, 'St. Mary''s Fund', '2000-12-31 00:00:00', 4)",
             "INSERT INTO Payments VALUES (6, 110000, NULL, 'roof', '2001-03-03 10:30:00', 6)",
             "INSERT INTO Payments VALUES (7, 200000, 19, 'General [old]', '2001-05-05 00:00:00', 6)",
             "INSERT INTO Payments VALUES (8, 100000, 20, '50% Match', '2001-02-28 00:00:00', 9)",
             "INSERT INTO Payments VALUES (9, 250000, 21, 'Ελληνικά', '2001-07-04 00:00:00', 5)",
         })
        c.exec(QString::fromUtf8(sql));
}

} // namespace filtertest
