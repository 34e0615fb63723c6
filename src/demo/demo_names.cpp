#include "demo/demo_names.h"

namespace db::demo {

namespace {

// Names from many backgrounds, as a parish or club membership list has them, with the letters a
// search must cope with: apostrophes, accents, letters outside Latin-1.
constexpr const char* kFirstNames[] = {
    "Aaron", "Abigail", "Adam", "Adrian", "Agnes", "Aidan", "Alan", "Albert", "Alejandro", "Alice",
    "Alicia", "Allison", "Amanda", "Amy", "Ana", "André", "Andrea", "Andrew", "Angela", "Anita",
    "Ann", "Anna", "Anne", "Anthony", "Antoine", "Arthur", "Ashley", "Audrey", "Barbara", "Beatriz",
    "Benjamin", "Bernard", "Beth", "Betty", "Björn", "Bonnie", "Brandon", "Brenda", "Brian", "Bridget",
    "Bruce", "Carl", "Carlos", "Carmen", "Carol", "Caroline", "Catherine", "Cecilia", "Charles", "Charlotte",
    "Chloé", "Christian", "Christina", "Christine", "Christopher", "Claire", "Colleen", "Craig", "Cynthia", "Daniel",
    "Danielle", "David", "Deborah", "Denise", "Dennis", "Diana", "Diane", "Dolores", "Dominic", "Donald",
    "Donna", "Dorothy", "Douglas", "Dylan", "Edward", "Eileen", "Elaine", "Eleanor", "Elizabeth", "Ellen",
    "Émile", "Emily", "Emma", "Eric", "Erin", "Esther", "Eugene", "Evelyn", "Fernando", "Fiona",
    "Frances", "Francis", "François", "Frank", "Gabriel", "Gary", "George", "Gerald", "Gloria", "Grace",
    "Gregory", "Hannah", "Harold", "Heather", "Helen", "Henry", "Hiroshi", "Ian", "Inês", "Irene",
    "Isabel", "Jack", "Jacob", "Jacqueline", "James", "Jane", "Janet", "Janice", "Jasmine", "Jason",
    "Javier", "Jean", "Jeffrey", "Jennifer", "Jeremy", "Jessica", "Joan", "John", "Jonathan", "Jorge",
    "José", "Joseph", "Joshua", "Joyce", "Juan", "Judith", "Julia", "Julie", "Jürgen", "Justin",
    "Karen", "Katherine", "Kathleen", "Keith", "Kenneth", "Kevin", "Kimberly", "Kyle", "Larry", "Laura",
    "Lauren", "Lawrence", "Linda", "Lisa", "Louis", "Lucía", "Łukasz", "Margaret", "Maria", "Marie",
    "Marilyn", "Mark", "Martha", "Martin", "Mary", "Matthew", "Maureen", "Megan", "Melissa", "Michael",
    "Michelle", "Miguel", "Monica", "Nancy", "Natalie", "Nathan", "Nicholas", "Nicole", "Noémie", "Olivia",
    "Oscar", "Pamela", "Patricia", "Patrick", "Paul", "Peggy", "Peter", "Philip", "Rachel", "Ralph",
    "Raymond", "Rebecca", "Renée", "Richard", "Rita", "Robert", "Roger", "Rosa", "Rose", "Russell",
    "Ruth", "Ryan", "Samuel", "Sandra", "Sarah", "Scott", "Sean", "Sharon", "Shirley", "Siobhán",
    "Søren", "Stephanie", "Stephen", "Steven", "Susan", "Teresa", "Thomas", "Timothy", "Tomás", "Victoria",
    "Vincent", "Virginia", "Walter", "Wayne", "William", "Yuki", "Zoë", "Zofia",
};

constexpr const char* kLastNames[] = {
    "Abbott", "Acosta", "Adams", "Alexander", "Allen", "Alvarez", "Anderson", "Andrews", "Armstrong", "Arnold",
    "Bailey", "Baker", "Barnes", "Bauer", "Becker", "Bélanger", "Bell", "Bennett", "Bergström", "Black",
    "Boyle", "Bradley", "Brennan", "Brooks", "Brown", "Bryant", "Burke", "Butler", "Byrne", "Campbell",
    "Carlson", "Carroll", "Carter", "Castillo", "Chavez", "Chen", "Clark", "Coleman", "Collins", "Cook",
    "Cooper", "Costa", "Côté", "Cox", "Crawford", "Cruz", "Cunningham", "D'Angelo", "D'Souza", "Daly",
    "Davis", "Delaney", "Dell'Aquila", "Diaz", "Dixon", "Doherty", "Donovan", "Doyle", "Dubois", "Duffy",
    "Dunn", "Dvořák", "Edwards", "Elliott", "Émond", "Evans", "Fischer", "Fitzgerald", "Fleming", "Flores",
    "Flynn", "Foster", "Fournier", "Fox", "Gagné", "Gallagher", "García", "Gardner", "Gibson", "Gómez",
    "Gonzalez", "Gordon", "Graham", "Grant", "Gray", "Green", "Griffin", "Gutierrez", "Hall", "Hamilton",
    "Hansen", "Harris", "Harrison", "Hayes", "Henderson", "Hernández", "Hill", "Hoffmann", "Holmes", "Howard",
    "Hughes", "Hunt", "Jackson", "James", "Jiménez", "Johnson", "Jones", "Jordan", "Kaminski", "Keane",
    "Kelly", "Kennedy", "Kim", "King", "Kowalczyk", "Kowalski", "Larsen", "Lee", "Lévesque", "Lewis",
    "Lindqvist", "Lopez", "Lynch", "MacDonald", "Mahoney", "Marshall", "Martin", "Martínez", "Mason", "McCarthy",
    "McDonnell", "McGrath", "Medina", "Mendoza", "Meyer", "Miller", "Mitchell", "Moore", "Morales", "Moreno",
    "Morgan", "Morris", "Müller", "Murphy", "Murray", "Myers", "Nakamura", "Nelson", "Nguyen", "Novak",
    "Nuñez", "O'Brien", "O'Connor", "O'Donnell", "O'Hara", "O'Malley", "O'Neil", "O'Reilly", "O'Sullivan", "Olsen",
    "Ortiz", "Owens", "Palmer", "Park", "Parker", "Patel", "Perez", "Perry", "Peterson", "Phillips",
    "Pierce", "Porter", "Powell", "Price", "Quinn", "Ramirez", "Reed", "Reyes", "Reynolds", "Richardson",
    "Rivera", "Roberts", "Robinson", "Rodríguez", "Rogers", "Romero", "Ross", "Roy", "Russell", "Ryan",
    "Sánchez", "Sanders", "Santos", "Schäfer", "Schmidt", "Schneider", "Schultz", "Scott", "Shaw", "Shea",
    "Simmons", "Simpson", "Smith", "Snyder", "Sokolov", "Spencer", "Stanley", "Stevens", "Stewart", "Stone",
    "Sullivan", "Sutton", "Sweeney", "Sørensen", "Tanaka", "Taylor", "Thompson", "Torres", "Tremblay", "Tucker",
    "Turner", "Vargas", "Vasquez", "Wagner", "Walsh", "Ward", "Warren", "Watson", "Weber", "White",
    "Williams", "Wilson", "Wiśniewski", "Wood", "Wright", "Young", "Zhang", "Zieliński",
};

constexpr const char* kStreetNames[] = {
    "Maple", "Oak", "Elm", "Pine", "Cedar", "Birch", "Walnut", "Chestnut", "Willow", "Spruce",
    "Main", "Church", "High", "Mill", "School", "Park", "Lake", "River", "Hill", "Spring",
    "Washington", "Lincoln", "Jefferson", "Madison", "Franklin", "Adams", "Jackson", "Monroe", "Grant", "Union",
    "Prospect", "Pleasant", "Highland", "Meadow", "Orchard", "Sunset", "Valley", "Forest", "Ridge", "Brook",
    "Saint Mary's", "King's", "Water", "Bridge", "Market", "Center", "North", "South", "Front", "Summit",
};

constexpr const char* kStreetKinds[] = {
    "Street", "Avenue", "Road", "Lane", "Drive", "Court", "Place", "Way", "Boulevard", "Terrace",
};

// A local organization: most members live in a few nearby towns, some further away.
constexpr Town kTowns[] = {
    {"Springfield", "MA", 1101, "413", 40},
    {"Chicopee", "MA", 1013, "413", 14},
    {"Holyoke", "MA", 1040, "413", 10},
    {"West Springfield", "MA", 1089, "413", 9},
    {"Longmeadow", "MA", 1106, "413", 7},
    {"Agawam", "MA", 1001, "413", 6},
    {"Ludlow", "MA", 1056, "413", 5},
    {"Enfield", "CT", 6082, "860", 4},
    {"Hartford", "CT", 6101, "860", 2},
    {"Worcester", "MA", 1601, "508", 2},
    {"Boston", "MA", 2108, "617", 2},
    {"Albany", "NY", 12201, "518", 1},
    {"Providence", "RI", 2903, "401", 1},
    {"Burlington", "VT", 5401, "802", 1},
    {"Portland", "ME", 4101, "207", 1},
    {"New York", "NY", 10001, "212", 1},
    {"Philadelphia", "PA", 19102, "215", 1},
    {"Coeur d'Alene", "ID", 83814, "208", 1},
    {"Saint Petersburg", "FL", 33701, "727", 1},
    {"San José", "CA", 95110, "408", 1},
};

constexpr const char* kMemberNotes[] = {
    "Prefers the year-end statement by mail.",
    "Gives by envelope every Sunday.",
    "Sends a check at the start of each quarter.",
    "Memorial gifts in memory of her husband.",
    "Do not call after 8 pm.",
    "Moved here from Québec in 2015.",
    "Spouse's gifts are recorded under the same number.",
    "Usher on the first Sunday of the month.",
    "Wants receipts for each check.\r\nAddress changes in winter.",
    "Volunteers at the food pantry.",
    "Asked not to be listed in the directory.",
    "Matching gifts through employer; see the \"Scholarship\" fund.",
};

constexpr Fund kFunds[] = {
    {"General Fund", 55},
    {"Building Fund", 10},
    {"Roof Repair", 5},
    {"Missions", 8},
    {"Youth Group", 6},
    {"St. Mary's Fund", 5},
    {"Scholarship", 4},
    {"Food Pantry", 7},
};

constexpr Person kShowcase[] = {
    {"Patrick", "O'Brien"},
    {"Zoë", "D'Angelo"},
    {"Łukasz", "O'Connor"},
    {"José", "Émond"},
    {"Søren", "Müller"},
    {"Renée", "Dell'Aquila"},
};

} // namespace

std::span<const char* const> firstNames() { return kFirstNames; }
std::span<const char* const> lastNames() { return kLastNames; }
std::span<const char* const> streetNames() { return kStreetNames; }
std::span<const char* const> streetKinds() { return kStreetKinds; }
std::span<const Town> towns() { return kTowns; }
std::span<const char* const> memberNotes() { return kMemberNotes; }
std::span<const Fund> funds() { return kFunds; }
std::span<const Person> showcaseMembers() { return kShowcase; }

} // namespace db::demo
