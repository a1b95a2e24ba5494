// The report object model: components, XML document, template files, pictures, texts.
