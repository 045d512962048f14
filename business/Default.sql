-- The template database Default.ENU: a new database file is a copy of it (the library never
-- makes a schema). Records are read by column position, so the column order is part of the
-- file format. RefID and VehicleID hold unsigned 32-bit values; dates are OLE Automation dates
-- (days since 30 December 1899, UTC).
--
-- MetaData holds three rows in this order: 1 the store id (0 here; the first connection gives
-- the copy its own), 2 the signature "ALK", 3 the version text (at most 4 characters).
PRAGMA page_size = 4096;
-- The engine's default rollback journal ("-journal" beside the file) is the one used.

BEGIN;

CREATE TABLE Vehicle (
    ID INTEGER PRIMARY KEY,
    RefID INTEGER,
    Name TEXT,
    Notes TEXT,
    Created REAL,
    Modified REAL,
    LicensePlate TEXT,
    VIN TEXT,
    DealerName TEXT,
    DealerPhone TEXT,
    DealerAddress TEXT,
    InsurancePolicyNumber TEXT,
    InsuranceAgentName TEXT,
    InsuranceAgentPhone TEXT,
    InsuranceCoverage TEXT,
    InsuranceExpirationDate REAL,
    CurrentOdometer INTEGER,
    Year INTEGER,
    ImagePath TEXT
);

CREATE TABLE Entry (
    ID INTEGER PRIMARY KEY,
    RefID INTEGER,
    Name TEXT,
    Notes TEXT,
    Created REAL,
    Modified REAL,
    Date REAL,
    Odometer INTEGER,
    VehicleID INTEGER,
    Type INTEGER,
    Vendor TEXT,
    Amount REAL,
    Custom1 REAL,
    Custom2 REAL
);

CREATE TABLE Keyword (
    ID INTEGER PRIMARY KEY,
    RefID INTEGER,
    Name TEXT,
    Type INTEGER,
    Created REAL,
    Modified REAL
);

CREATE TABLE Notification (
    ID INTEGER PRIMARY KEY,
    RefID INTEGER,
    Name TEXT,
    Created REAL,
    Modified REAL,
    Date REAL,
    Odometer INTEGER,
    VehicleID INTEGER
);

-- No declared type: the store id stays an integer, the signature and version stay texts.
CREATE TABLE MetaData (
    ID INTEGER PRIMARY KEY,
    Value
);

INSERT INTO MetaData VALUES (1, 0);
INSERT INTO MetaData VALUES (2, 'ALK');
INSERT INTO MetaData VALUES (3, '1.0');

COMMIT;
