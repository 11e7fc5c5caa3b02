-- The sample Reports.mdb: built at build time into the sample program folder.
BEGIN;
CREATE TABLE UserData (
  ID INTEGER,
  COLOR TEXT,
  CLARITY TEXT,
  FLAURASANSE TEXT,
  STONE_ID TEXT,
  RealWeight TEXT,
  Polish TEXT,
  DATE TEXT,
  TIME TEXT,
  FILENAME TEXT,
  FileFormat TEXT,
  SystemNumber TEXT,
  LOT TEXT,
  LenNumber TEXT,
  DecimalPoint TEXT,
  OPERATOR TEXT,
  isBookmark TEXT,
  COMPANY TEXT,
  ExportDataFile TEXT,
  ExportAsciiFile TEXT,
  Symbol TEXT,
  L_D_CALC REAL,
  B_N_CALC REAL,
  RepID TEXT,
  SHAPE TEXT,
  Stn1 TEXT,
  Stn2 TEXT,
  Stn3 TEXT,
  PROCESS TEXT,
  ZED_TBLMAX REAL,
  SPARE_30 TEXT,
  SPARE_31 TEXT,
  SPARE_32 TEXT,
  SPARE_33 TEXT,
  SPARE_34 TEXT,
  SPARE_35 TEXT,
  SPARE_36 TEXT,
  SPARE_37 TEXT,
  SPARE_38 TEXT,
  SPARE_39 TEXT,
  SPARE_40 TEXT,
  SPARE_41 TEXT,
  SPARE_42 TEXT,
  SPARE_43 TEXT,
  SPARE_44 TEXT,
  SPARE_45 TEXT,
  SPARE_46 TEXT,
  SPARE_47 TEXT,
  SPARE_48 TEXT,
  SPARE_49 TEXT,
  SPARE_50 TEXT,
  SPARE_51 TEXT,
  SPARE_52 TEXT,
  SPARE_53 TEXT,
  SPARE_54 TEXT,
  SPARE_55 TEXT,
  SPARE_56 TEXT,
  SPARE_57 TEXT,
  SPARE_58 TEXT,
  SPARE_59 TEXT,
  SPARE_60 TEXT,
  SPARE_61 TEXT,
  SPARE_62 TEXT,
  SPARE_63 TEXT,
  SPARE_64 TEXT,
  SPARE_65 TEXT,
  ShapeName TEXT,
  SPARE_67 TEXT,
  SPARE_68 TEXT,
  SPARE_69 TEXT,
  SPARE_70 TEXT,
  SYMMETRY TEXT
);

CREATE TABLE Proportions (
  DIAMETER_MM REAL, TABLE_PC REAL, CROWN_ANGLE_DEG REAL, CROWN_HEIGHT_PC REAL,
  PAVILION_ANGLE_DEG REAL, PAVILION_DEPTH_PC REAL, TOTAL_DEPTH_PC REAL, GIRDLE_PC REAL,
  CULET TEXT, MEASURED_ON DATE, POLISHED BOOLEAN
);
INSERT INTO Proportions VALUES (5.12, 57.26, 34.5, 14.9, 40.8, 43.1, 61.7, 3.2, 'None', '2026-12-09', 1);

CREATE TABLE Weight_Limits (Shape TEXT, GreenLimit REAL, GreenMessage TEXT, YellowLimit REAL, YellowMessage TEXT, RedMessage TEXT);
CREATE TABLE Weight_Limits_small (Shape TEXT, GreenLimit REAL, GreenMessage TEXT, YellowLimit REAL, YellowMessage TEXT, RedMessage TEXT);
INSERT INTO Weight_Limits VALUES ('Brilliant', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Brilliant', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Pear', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Pear', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Oval', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Oval', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Marquise', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Marquise', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Princess', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Princess', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Emerald', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Emerald', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Cushion', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Cushion', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Heart', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Heart', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits VALUES ('Radiant', 1.5, 'Weight OK', 3, 'Weight deviates - check', 'Weight does not match the scan');
INSERT INTO Weight_Limits_small VALUES ('Radiant', 2.5, 'Weight OK', 5, 'Weight deviates - check', 'Weight does not match the scan');
CREATE TABLE Template_GIA (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIA VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIA VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIA VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIA VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIA VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIA VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIA VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIA VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIA VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIA VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIA VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIA VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIA VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIA VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIA VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIA VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIA VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIA VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIA VALUES ('***', '', -2);
CREATE TABLE Template_GIAPear (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIAPear VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIAPear VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIAPear VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIAPear VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIAPear VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIAPear VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIAPear VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIAPear VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIAPear VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIAPear VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIAPear VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIAPear VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIAPear VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIAPear VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIAPear VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIAPear VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIAPear VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIAPear VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIAPear VALUES ('***', '', -2);
CREATE TABLE Template_GIAOval (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIAOval VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIAOval VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIAOval VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIAOval VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIAOval VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIAOval VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIAOval VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIAOval VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIAOval VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIAOval VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIAOval VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIAOval VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIAOval VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIAOval VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIAOval VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIAOval VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIAOval VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIAOval VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIAOval VALUES ('***', '', -2);
CREATE TABLE Template_GIAMarquise (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIAMarquise VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIAMarquise VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIAMarquise VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIAMarquise VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIAMarquise VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIAMarquise VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIAMarquise VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIAMarquise VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIAMarquise VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIAMarquise VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIAMarquise VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIAMarquise VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIAMarquise VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIAMarquise VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIAMarquise VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIAMarquise VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIAMarquise VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIAMarquise VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIAMarquise VALUES ('***', '', -2);
CREATE TABLE Template_GIAPrincess (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIAPrincess VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIAPrincess VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIAPrincess VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIAPrincess VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIAPrincess VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIAPrincess VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIAPrincess VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIAPrincess VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIAPrincess VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIAPrincess VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIAPrincess VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIAPrincess VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIAPrincess VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIAPrincess VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIAPrincess VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIAPrincess VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIAPrincess VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIAPrincess VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIAPrincess VALUES ('***', '', -2);
CREATE TABLE Template_GIAStepCut (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIAStepCut VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIAStepCut VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIAStepCut VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIAStepCut VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIAStepCut VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIAStepCut VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIAStepCut VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIAStepCut VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIAStepCut VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIAStepCut VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIAStepCut VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIAStepCut VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIAStepCut VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIAStepCut VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIAStepCut VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIAStepCut VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIAStepCut VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIAStepCut VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIAStepCut VALUES ('***', '', -2);
CREATE TABLE Template_GIACushion (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIACushion VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIACushion VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIACushion VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIACushion VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIACushion VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIACushion VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIACushion VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIACushion VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIACushion VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIACushion VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIACushion VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIACushion VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIACushion VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIACushion VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIACushion VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIACushion VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIACushion VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIACushion VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIACushion VALUES ('***', '', -2);
CREATE TABLE Template_GIAHeart (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIAHeart VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIAHeart VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIAHeart VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIAHeart VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIAHeart VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIAHeart VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIAHeart VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIAHeart VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIAHeart VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIAHeart VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIAHeart VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIAHeart VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIAHeart VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIAHeart VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIAHeart VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIAHeart VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIAHeart VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIAHeart VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIAHeart VALUES ('***', '', -2);
CREATE TABLE Template_GIARadiant (ItemName TEXT, Label TEXT, Format INTEGER);
INSERT INTO Template_GIARadiant VALUES ('GIA_STONE_ID', 'Stone', -1);
INSERT INTO Template_GIARadiant VALUES ('GIA_REAL_WGT', 'Weight', -1);
INSERT INTO Template_GIARadiant VALUES ('GIA_WGT_MESSAGE', 'Weight check', -1);
INSERT INTO Template_GIARadiant VALUES ('GIA_SHAPE_NAME', 'Shape', -1);
INSERT INTO Template_GIARadiant VALUES ('GIA_SHAPE_NAME1', 'Family', -1);
INSERT INTO Template_GIARadiant VALUES ('GIA_FACETIDENTY', 'Facets', -1);
INSERT INTO Template_GIARadiant VALUES ('UserData.COLOR', 'Color', -1);
INSERT INTO Template_GIARadiant VALUES ('UserData.CLARITY', 'Clarity', -1);
INSERT INTO Template_GIARadiant VALUES ('UserData.Polish', 'Polish', -1);
INSERT INTO Template_GIARadiant VALUES ('UserData.SYMMETRY', 'Symmetry', -1);
INSERT INTO Template_GIARadiant VALUES ('UserData.FLAURASANSE', 'Fluorescence', -1);
INSERT INTO Template_GIARadiant VALUES ('Proportions.TABLE_PC = table width in percent', 'Table', 1);
INSERT INTO Template_GIARadiant VALUES ('Proportions.CROWN_ANGLE_DEG', 'Crown angle', 1);
INSERT INTO Template_GIARadiant VALUES ('Proportions.PAVILION_ANGLE_DEG', 'Pavilion angle', 1);
INSERT INTO Template_GIARadiant VALUES ('Proportions.TOTAL_DEPTH_PC', 'Depth', 1);
INSERT INTO Template_GIARadiant VALUES ('Proportions.DIAMETER_MM', 'Diameter', 2);
INSERT INTO Template_GIARadiant VALUES ('UserData.LOT', 'Lot', -1);
INSERT INTO Template_GIARadiant VALUES ('UserData.OPERATOR', 'Operator', -1);
INSERT INTO Template_GIARadiant VALUES ('***', '', -2);
INSERT INTO UserData (ID, COLOR, CLARITY, FLAURASANSE, Polish, LOT, OPERATOR, COMPANY, SHAPE, ShapeName, SYMMETRY, RepID)
  VALUES (101, 'G', 'VS1', 'None', 'EX', 'K7', 'Asha', 'Tavix Lab', 'Round', 'Brilliant', 'EX', 'bench');
COMMIT;
